#include "store/InvoiceSchema.h"

#include "store/Statements.h"
#include "store/engine/Connection.h"
#include "store/engine/EngineError.h"

#include <QFile>

QStringList InvoiceSchemaStatements()
{
    return {
        QStringLiteral("CREATE TABLE INVOICE ("
                       "INV_TOPTYPE TEXT, INV_SUBTYPE TEXT, INV_CODE TEXT, INV_NUMBER TEXT, "
                       "INV_VALUE TEXT, INV_DATE DATETIME, INV_CHECKCODE TEXT, INV_CHECKBIT TEXT, "
                       "INV_OPDATE DATETIME, INV_STATUS TEXT, IS_AUTOSCAN TEXT, INV_BACKUP TEXT)"),
        QStringLiteral("CREATE TABLE config (id INTEGER, url TEXT)"),
        QStringLiteral("INSERT INTO config (id, url) VALUES (1, '')"),
        QStringLiteral("CREATE INDEX IX_INVOICE_DATE ON INVOICE (INV_DATE)"),
        QStringLiteral("CREATE UNIQUE INDEX UX_INVOICE_CODE_NUMBER ON INVOICE (INV_CODE, INV_NUMBER)"),
    };
}

bool CreateInvoiceDatabase(const QString& path, QString* error)
{
    engine::Connection connection;
    bool created = false;
    try {
        connection.Create(Statements::ConnectionString(path));
        created = true;
        connection.BeginTrans();
        for (const QString& statement : InvoiceSchemaStatements())
            connection.Execute(statement);
        connection.CommitTrans();
        connection.Close();
        return true;
    } catch (const engine::EngineError& failure) {
        connection.Close();
        if (created)
            QFile::remove(path);
        if (error)
            *error = failure.Description();
        return false;
    }
}
