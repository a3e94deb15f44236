#pragma once

#include "tests/backup/BackupWindowFixture.h"

#include <QString>

// One desk of an office that shares a register: the real main window on a
// fresh database of the test program's PostgreSQL server, its connection
// opened through an "invoice.udl" as start-up opens it. Export and import
// run as in the backup window tests (pickers answered, prompts recorded).
class ServerDeskFixture : public BackupWindowFixture {
protected:
    ServerDeskFixture();

    // The stored rows of one invoice, read through a connection of their own.
    QList<QMap<QString, engine::Variant>> Rows(const QString& code, const QString& number);

    // The duplicate message for an invoice registered on `day`, with the
    // day as the database gives it back in this locale.
    static QString AlreadyStored(const QDate& day);

    static inline const QString kStored = QStringLiteral("报销入库成功！");
};
