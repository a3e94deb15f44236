#include "store/engine/Connection.h"
#include "store/engine/ConnectionString.h"
#include "store/engine/EngineError.h"
#include "store/engine/Recordset.h"
#include "tests/support/PostgreSqlServer.h"
#include "tests/support/TempInvoiceDatabase.h"

#include <gtest/gtest.h>

#include <ostream>

namespace engine {

// Failures show the value's kind and text.
void PrintTo(const Variant& value, std::ostream* out)
{
    static const char* const kinds[] = {"null", "text", "integer", "real", "date"};
    *out << kinds[static_cast<int>(value.GetType())] << " \"" << value.ToText(QLocale::c()).toStdString() << '"';
}

} // namespace engine

using engine::Connection;
using engine::EngineError;
using engine::Variant;

namespace {

// What only the server binding has to get right, on a fresh database.
class PostgreSqlProviderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(database.IsValid()) << qPrintable(database.Error());
        // A server set up for another country writes dates its own way
        // unless the session asks for the ISO form.
        QString output;
        ASSERT_TRUE(PostgreSqlServer::Instance().Administer(
            QStringLiteral("postgres"),
            QStringLiteral("alter database %1 set DateStyle = 'German, DMY'").arg(database.DatabaseName()), &output))
            << qPrintable(output);
        connection.Open(database.ConnectionString());
    }

    int InvoiceCount() const { return static_cast<int>(database.ReadRows(QStringLiteral("select * from invoice")).size()); }

    // Ends every session the clerk has on the test database, as a server
    // restart or an administrator would.
    void EndClerkSessions()
    {
        QString output;
        ASSERT_TRUE(PostgreSqlServer::Instance().Administer(
            QStringLiteral("postgres"),
            QStringLiteral("select pg_terminate_backend(pid) from pg_stat_activity where datname = '%1'")
                .arg(database.DatabaseName()),
            &output))
            << qPrintable(output);
    }

    TempInvoiceDatabase database{engine::ProviderKind::PostgreSql, TempInvoiceDatabase::Connect::No};
    Connection connection;
};

QDateTime At(int y, int m, int d, int hh = 0, int mm = 0, int ss = 0)
{
    return QDateTime(QDate(y, m, d), QTime(hh, mm, ss), Qt::UTC);
}

} // namespace

TEST_F(PostgreSqlProviderTest, ValuesComeBackAsTheirTypesUnderAnyCaseOfTheirNames)
{
    const auto recordset = connection.Execute(QStringLiteral(
        "select 1 as Whole, cast(2.5 as float8) as Real, cast(12.30 as numeric) as Exact, cast(null as text) as Nothing, "
        "#2019-01-02# as Day, #1/2/2019 3:04:05 PM# as Moment, cast('2019-03-04' as date) as Calendar, "
        "cast('2019-03-04 05:06:07.890' as timestamp) as Fraction, 'x' as Word, '' as Blank"));
    ASSERT_EQ(recordset->State(), engine::adStateOpen);
    EXPECT_EQ(recordset->FieldNames().first(), QStringLiteral("whole")) << "the server folds unquoted names";

    struct Case {
        const char* column;
        Variant expected;
    } cases[] = {
        {"WHOLE", Variant::FromInteger(1)},
        {"real", Variant::FromReal(2.5)},
        {"Exact", Variant::FromText(QStringLiteral("12.30"))},
        {"nothing", Variant()},
        {"DAY", Variant::FromDateTime(At(2019, 1, 2))},
        {"moment", Variant::FromDateTime(At(2019, 1, 2, 15, 4, 5))},
        {"calendar", Variant::FromDateTime(At(2019, 3, 4))},
        {"fraction", Variant::FromDateTime(At(2019, 3, 4, 5, 6, 7))},
        {"word", Variant::FromText(QStringLiteral("x"))},
        {"blank", Variant::FromText(QString())},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.column);
        EXPECT_EQ(recordset->Collect(QLatin1String(c.column)), c.expected);
    }
    EXPECT_EQ(recordset->Collect(QStringLiteral("day")).ToText(QLocale::c()), QStringLiteral("2019-01-02"));
    EXPECT_EQ(recordset->Collect(QStringLiteral("moment")).ToText(QLocale::c()), QStringLiteral("2019-01-02 15:04:05"));
}

TEST_F(PostgreSqlProviderTest, CommitOfATransactionThatAStatementSpoiltIsAnError)
{
    connection.BeginTrans();
    connection.Execute(QStringLiteral("insert into invoice(INV_CODE, INV_NUMBER) values('A', '1')"));
    EXPECT_THROW(connection.Execute(QStringLiteral("insert into nosuchtable values('1')")), EngineError);
    // The server refuses everything until the transaction ends...
    EXPECT_THROW(connection.Execute(QStringLiteral("insert into invoice(INV_CODE, INV_NUMBER) values('A', '2')")),
                 EngineError);
    // ...and would answer COMMIT with a silent rollback.
    try {
        connection.CommitTrans();
        ADD_FAILURE() << "the commit of a spoilt transaction succeeded";
    } catch (const EngineError& error) {
        EXPECT_TRUE(error.Description().contains(QStringLiteral("rolled back"))) << qPrintable(error.Description());
    }
    EXPECT_EQ(InvoiceCount(), 0);
    connection.Execute(QStringLiteral("insert into invoice(INV_CODE, INV_NUMBER) values('A', '3')"));
    EXPECT_EQ(InvoiceCount(), 1);
}

TEST_F(PostgreSqlProviderTest, ASessionTheServerEndedIsOpenedAgainForTheNextStatement)
{
    connection.Execute(QStringLiteral("insert into invoice(INV_CODE, INV_NUMBER) values('A', '1')"));
    EndClerkSessions();
    EXPECT_THROW(connection.Execute(QStringLiteral("select * from invoice")), EngineError);
    const auto recordset = connection.Execute(QStringLiteral("select * from invoice where INV_DATE is null"));
    EXPECT_EQ(recordset->RecordCount(), 1);
    // The session's settings came back too: dates still read as dates.
    EXPECT_TRUE(connection.Execute(QStringLiteral("select #2019-01-02# as d"))->Collect(QStringLiteral("d")).IsDate());

    // A transaction under way is lost with its session, and its commit says so.
    connection.BeginTrans();
    connection.Execute(QStringLiteral("insert into invoice(INV_CODE, INV_NUMBER) values('A', '2')"));
    EndClerkSessions();
    EXPECT_THROW(connection.Execute(QStringLiteral("insert into invoice(INV_CODE, INV_NUMBER) values('A', '3')")),
                 EngineError);
    EXPECT_THROW(connection.CommitTrans(), EngineError);
    connection.RollbackTrans(); // nothing left to undo, and no error for it
    connection.Execute(QStringLiteral("insert into invoice(INV_CODE, INV_NUMBER) values('A', '4')"));
    EXPECT_EQ(InvoiceCount(), 2);
}

TEST_F(PostgreSqlProviderTest, ConnectionStringKeywordsAndTheLoginArguments)
{
    PostgreSqlServer& server = PostgreSqlServer::Instance();
    const QString password = engine::ConnectionString::QuoteValue(PostgreSqlServer::ClerkPassword);
    const QString port = QString::number(server.Port());
    const QString name = database.DatabaseName();
    struct Case {
        const char* name;
        QString connectionString;
        QString userId;
        QString password;
    } cases[] = {
        {"other names", QStringLiteral("provider=postgresql; Server = 127.0.0.1 ;port=%1;Initial Catalog=%2;"
                                       "user id=clerk;PASSWORD=%3").arg(port, name, password), QString(), QString()},
        {"Data Source as the host, quoted values",
         QStringLiteral("Provider=PostgreSQL;Data Source='127.0.0.1';Port=\"%1\";Database='%2';User ID=clerk;"
                        "Password=%3;Connect Timeout=5").arg(port, name, password), QString(), QString()},
        {"login given apart, as the program's Open may",
         QStringLiteral("Provider=PostgreSQL;Host=127.0.0.1;Port=%1;Database=%2").arg(port, name),
         PostgreSqlServer::ClerkUser, PostgreSqlServer::ClerkPassword},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Connection other;
        try {
            other.Open(c.connectionString, c.userId, c.password);
        } catch (const EngineError& error) {
            ADD_FAILURE() << qPrintable(error.Description());
            continue;
        }
        EXPECT_EQ(other.Execute(QStringLiteral("select * from config where id = 1"))->RecordCount(), 1);
    }
}
