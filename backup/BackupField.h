#pragma once

#include <array>

// Position of each field in a backup line, in the order the export writes
// them and the import's insert statement lists its columns.
enum BackupField : int {
    BackupTopType,
    BackupSubType,
    BackupNumber,
    BackupCode,
    BackupValue,
    BackupDate,
    BackupCheckCode,
    BackupStatus,
    BackupCheckBit,
    BackupOpDate,
    BackupAutoScan,
    BackupFieldCount
};

// The INVOICE column carried in each field, indexed by BackupField.
inline constexpr std::array<const char*, BackupFieldCount> kBackupColumnNames = {
    "INV_TOPTYPE", "INV_SUBTYPE", "INV_NUMBER",  "INV_CODE",   "INV_VALUE",  "INV_DATE",
    "INV_CHECKCODE", "INV_STATUS", "INV_CHECKBIT", "INV_OPDATE", "IS_AUTOSCAN"};
