#pragma once

#include <QString>
#include <QStringList>

// Splits one backup line into its fields.
class BackupLineParser {
public:
    // Trims the line and splits it at "," into trimmed fields. Returns false
    // (a format error) when it gives fewer than eleven fields, an empty line
    // included; on success `fields` holds exactly the first eleven, indexed
    // by BackupField (BackupCode and BackupNumber are the invoice's key).
    static bool Parse(const QString& line, QStringList& fields);
};
