#include "tests/support/TempInvoiceDatabase.h"

#include "store/InvoiceSchema.h"
#include "store/Statements.h"
#include "store/engine/Connection.h"
#include "store/engine/Recordset.h"
#include "tests/support/PostgreSqlServer.h"

TempInvoiceDatabase::TempInvoiceDatabase(Connect connect)
    : TempInvoiceDatabase(engine::ProviderKind::SqlCipher, connect)
{
}

TempInvoiceDatabase::TempInvoiceDatabase(engine::ProviderKind kind, Connect connect)
    : m_kind(kind)
    , m_connection(std::make_unique<CAdoConnection>())
{
    Make(connect);
}

void TempInvoiceDatabase::Make(Connect connect)
{
    if (!m_directory.isValid()) {
        m_error = QStringLiteral("no temporary folder: ") + m_directory.errorString();
        return;
    }
    if (m_kind == engine::ProviderKind::PostgreSql) {
        PostgreSqlServer& server = PostgreSqlServer::Instance();
        if (!server.IsRunning()) {
            m_error = QStringLiteral("the PostgreSQL test server did not start: ") + server.Error();
            return;
        }
        m_databaseName = server.CreateDatabase(&m_error);
        if (m_databaseName.isEmpty())
            return;
        if (!CreateInvoiceSchema(ConnectionString(), &m_error))
            return;
    } else {
        m_path = m_directory.filePath(Statements::DatabaseFileName);
        if (!CreateInvoiceDatabase(m_path, &m_error))
            return;
    }
    if (connect == Connect::Yes
        && !m_connection->Open(QString(), QString(), QString(), -1, ConnectionString())) {
        m_error = QStringLiteral("cannot open: ") + m_messageBoxes.Messages().join(QLatin1Char('\n'));
        return;
    }
    m_valid = true;
}

TempInvoiceDatabase::~TempInvoiceDatabase()
{
    m_connection.reset();
    if (!m_databaseName.isEmpty())
        PostgreSqlServer::Instance().DropDatabase(m_databaseName);
}

QString TempInvoiceDatabase::ConnectionString() const
{
    if (m_kind == engine::ProviderKind::PostgreSql)
        return PostgreSqlServer::Instance().ConnectionString(m_databaseName);
    return Statements::ConnectionString(m_path);
}

QString TempInvoiceDatabase::ProgramColumnName(const QString& name)
{
    static const QStringList columns = {
        "INV_TOPTYPE", "INV_SUBTYPE", "INV_CODE", "INV_NUMBER", "INV_VALUE", "INV_DATE", "INV_CHECKCODE",
        "INV_CHECKBIT", "INV_OPDATE", "INV_STATUS", "IS_AUTOSCAN", "INV_BACKUP", "id", "url"};
    for (const QString& column : columns) {
        if (column.compare(name, Qt::CaseInsensitive) == 0)
            return column;
    }
    return name;
}

QList<QMap<QString, engine::Variant>> TempInvoiceDatabase::ReadRows(const QString& query) const
{
    engine::Connection connection;
    connection.Open(ConnectionString());
    const auto recordset = connection.Execute(query);
    QList<QMap<QString, engine::Variant>> rows;
    const QStringList columns = recordset->FieldNames();
    for (; !recordset->IsEOF(); recordset->MoveNext()) {
        QMap<QString, engine::Variant> row;
        for (const QString& column : columns)
            row.insert(ProgramColumnName(column), recordset->Collect(column));
        rows.append(row);
    }
    return rows;
}

void TempInvoiceDatabase::Run(const QString& statement) const
{
    engine::Connection connection;
    connection.Open(ConnectionString());
    connection.Execute(statement);
}
