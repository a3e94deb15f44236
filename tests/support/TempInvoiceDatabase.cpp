#include "tests/support/TempInvoiceDatabase.h"

#include "store/InvoiceSchema.h"
#include "store/Statements.h"
#include "store/engine/Connection.h"
#include "store/engine/Recordset.h"

TempInvoiceDatabase::TempInvoiceDatabase(Connect connect)
    : m_path(m_directory.filePath(Statements::DatabaseFileName))
    , m_connection(std::make_unique<CAdoConnection>())
{
    if (!m_directory.isValid()) {
        m_error = QStringLiteral("no temporary folder: ") + m_directory.errorString();
        return;
    }
    if (!CreateInvoiceDatabase(m_path, &m_error))
        return;
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
}

QString TempInvoiceDatabase::ConnectionString() const
{
    return Statements::ConnectionString(m_path);
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
            row.insert(column, recordset->Collect(column));
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
