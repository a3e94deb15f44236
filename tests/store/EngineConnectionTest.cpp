#include "store/Statements.h"
#include "store/engine/Connection.h"
#include "store/engine/EngineError.h"
#include "store/engine/Recordset.h"
#include "tests/support/TempInvoiceDatabase.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

using engine::Connection;
using engine::EngineError;

namespace {

QString DescriptionOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const EngineError& error) {
        return error.Description();
    }
    return QStringLiteral("<no error>");
}

} // namespace

TEST(EngineConnectionTest, OpenFailuresCarryADescription)
{
    TempInvoiceDatabase database(TempInvoiceDatabase::Connect::No);
    ASSERT_TRUE(database.IsValid()) << qPrintable(database.Error());
    const QString missing = database.Directory() + QStringLiteral("/missing.ss");

    struct Case {
        const char* name;
        QString connectionString;
    } cases[] = {
        {"unknown provider", QStringLiteral("Provider=MSDASQL;Data Source=") + database.Path()},
        {"no provider", QStringLiteral("Data Source=") + database.Path()},
        {"missing file", Statements::ConnectionString(missing)},
        {"wrong password",
         QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1;Jet OLEDB:Database Password=wrong")
             .arg(database.Path())},
        {"no password", QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + database.Path()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Connection connection;
        const QString description = DescriptionOf([&] { connection.Open(c.connectionString); });
        EXPECT_FALSE(description.isEmpty());
        EXPECT_NE(description, QStringLiteral("<no error>"));
        EXPECT_EQ(connection.State(), engine::adStateClosed);
    }
    EXPECT_FALSE(QFileInfo::exists(missing)) << "an open must never create a database";
}

TEST(EngineConnectionTest, AStatementIsOneStatement)
{
    TempInvoiceDatabase database(TempInvoiceDatabase::Connect::No);
    ASSERT_TRUE(database.IsValid()) << qPrintable(database.Error());
    Connection connection;
    connection.Open(database.ConnectionString());

    EXPECT_THROW(connection.Execute(QStringLiteral("select * from config; DROP TABLE INVOICE")), EngineError);
    EXPECT_THROW(connection.Execute(QStringLiteral("select * from config where id = ?")), EngineError);
    EXPECT_THROW(connection.Execute(QStringLiteral("   ")), EngineError);
    connection.Execute(QStringLiteral("select * from config;  "));
    EXPECT_EQ(database.ReadRows(QStringLiteral("Select * from invoice")).size(), 0);
}

TEST(EngineConnectionTest, RecordsetRefusesMisuse)
{
    TempInvoiceDatabase database(TempInvoiceDatabase::Connect::No);
    ASSERT_TRUE(database.IsValid()) << qPrintable(database.Error());
    auto connection = std::make_shared<Connection>();
    connection->Open(database.ConnectionString());

    engine::Recordset recordset;
    EXPECT_THROW(recordset.IsEOF(), EngineError);
    recordset.Open(Statements::SelectConfig, connection);
    EXPECT_THROW(recordset.Open(Statements::SelectConfig, connection), EngineError);
    EXPECT_EQ(recordset.Collect(QStringLiteral("ID")).ToText(), QStringLiteral("1"));
    EXPECT_THROW(recordset.Collect(QStringLiteral("nothing")), EngineError);
    recordset.MoveNext();
    EXPECT_TRUE(recordset.IsEOF());
    EXPECT_THROW(recordset.Collect(QStringLiteral("id")), EngineError);
    EXPECT_THROW(recordset.MoveNext(), EngineError);
    recordset.Close();
    recordset.Close();
    EXPECT_EQ(recordset.State(), engine::adStateClosed);
}

TEST(EngineConnectionTest, TransactionRollsBackEveryStatement)
{
    TempInvoiceDatabase database(TempInvoiceDatabase::Connect::No);
    ASSERT_TRUE(database.IsValid()) << qPrintable(database.Error());
    Connection connection;
    connection.Open(database.ConnectionString());
    connection.BeginTrans();
    connection.Execute(QStringLiteral("insert into invoice(INV_CODE, INV_NUMBER) values('1', '1')"));
    connection.Execute(QStringLiteral("insert into invoice(INV_CODE, INV_NUMBER) values('1', '2')"));
    connection.RollbackTrans();
    EXPECT_EQ(database.ReadRows(QStringLiteral("select * from invoice")).size(), 0);
}
