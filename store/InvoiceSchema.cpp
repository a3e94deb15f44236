#include "store/InvoiceSchema.h"

#include "store/Statements.h"
#include "store/engine/Connection.h"
#include "store/engine/ConnectionString.h"
#include "store/engine/DataLinkFile.h"
#include "store/engine/EngineError.h"

#include <QFile>

namespace {

// The file the file binding made, to be removed again when the schema fails.
QString DatabaseFile(const QString& connectionString)
{
    const QString fileName = QStringLiteral("File Name");
    engine::ConnectionString parsed = engine::ConnectionString::Parse(connectionString);
    if (parsed.Contains(fileName))
        parsed = engine::ConnectionString::Parse(engine::DataLinkFile::ReadConnectionString(parsed.Value(fileName)));
    return parsed.Value(QStringLiteral("Data Source"));
}

} // namespace

QStringList InvoiceSchemaStatements(engine::ProviderKind kind)
{
    const QString dateType =
        kind == engine::ProviderKind::PostgreSql ? QStringLiteral("TIMESTAMP") : QStringLiteral("DATETIME");
    return {
        QStringLiteral("CREATE TABLE INVOICE ("
                       "INV_TOPTYPE TEXT, INV_SUBTYPE TEXT, INV_CODE TEXT, INV_NUMBER TEXT, "
                       "INV_VALUE TEXT, INV_DATE %1, INV_CHECKCODE TEXT, INV_CHECKBIT TEXT, "
                       "INV_OPDATE %1, INV_STATUS TEXT, IS_AUTOSCAN TEXT, INV_BACKUP TEXT)")
            .arg(dateType),
        QStringLiteral("CREATE TABLE config (id INTEGER, url TEXT)"),
        QStringLiteral("INSERT INTO config (id, url) VALUES (1, '')"),
        QStringLiteral("CREATE INDEX IX_INVOICE_DATE ON INVOICE (INV_DATE)"),
        QStringLiteral("CREATE UNIQUE INDEX UX_INVOICE_CODE_NUMBER ON INVOICE (INV_CODE, INV_NUMBER)"),
    };
}

bool CreateInvoiceSchema(const QString& connectionString, QString* error)
{
    engine::Connection connection;
    bool created = false;
    try {
        connection.Create(connectionString);
        created = true;
        const engine::ProviderKind kind = connection.GetProviderKind();
        // The server runs table definitions inside the transaction too, so a
        // failure leaves its database as empty as it was.
        connection.BeginTrans();
        for (const QString& statement : InvoiceSchemaStatements(kind))
            connection.Execute(statement);
        connection.CommitTrans();
        connection.Close();
        return true;
    } catch (const engine::EngineError& failure) {
        const bool madeFile = created && connection.State() == engine::adStateOpen
            && connection.GetProviderKind() == engine::ProviderKind::SqlCipher;
        connection.Close();
        if (madeFile) {
            try {
                QFile::remove(DatabaseFile(connectionString));
            } catch (const engine::EngineError&) {
                // The data link file went away meanwhile; the error to tell is the first.
            }
        }
        if (error)
            *error = failure.Description();
        return false;
    }
}

bool CreateInvoiceDatabase(const QString& path, QString* error)
{
    return CreateInvoiceSchema(Statements::ConnectionString(path), error);
}
