#include "store/Statements.h"
#include "store/engine/Connection.h"
#include "store/engine/EngineError.h"
#include "store/engine/Recordset.h"
#include "tests/support/ProviderParameters.h"
#include "tests/support/TempInvoiceDatabase.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <optional>
#include <chrono>
#include <thread>

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

QString InsertInvoice(const QString& code, const QString& number)
{
    return QStringLiteral("insert into invoice(INV_CODE, INV_NUMBER, INV_OPDATE) values('%1', '%2', #2024-05-06#)")
        .arg(code, number);
}

// What the engine does alike on both bindings.
class EngineProvidersTest : public ::testing::TestWithParam<engine::ProviderKind> {
protected:
    void SetUp() override { ASSERT_TRUE(database.IsValid()) << qPrintable(database.Error()); }

    TempInvoiceDatabase database{GetParam(), TempInvoiceDatabase::Connect::No};
};

} // namespace

INSTANTIATE_TEST_SUITE_P(Providers, EngineProvidersTest, kBothProviders, ProviderName);

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

TEST_P(EngineProvidersTest, AStatementIsOneStatement)
{
    Connection connection;
    connection.Open(database.ConnectionString());

    EXPECT_THROW(connection.Execute(QStringLiteral("select * from config; DROP TABLE INVOICE")), EngineError);
    EXPECT_THROW(connection.Execute(QStringLiteral("select * from config where id = ?")), EngineError);
    EXPECT_THROW(connection.Execute(QStringLiteral("select * from config where url = $1 or url = 'x'")), EngineError);
    EXPECT_THROW(connection.Execute(QStringLiteral("   ")), EngineError);
    connection.Execute(QStringLiteral("select * from config;  "));
    EXPECT_EQ(database.ReadRows(QStringLiteral("Select * from invoice")).size(), 0);
    EXPECT_EQ(database.ReadRows(QStringLiteral("Select * from config")).size(), 1);
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

TEST(EngineConnectionTest, ColumnsAreFoundByNameInEachResultOfARecordset)
{
    TempInvoiceDatabase database(TempInvoiceDatabase::Connect::No);
    ASSERT_TRUE(database.IsValid()) << qPrintable(database.Error());
    auto connection = std::make_shared<Connection>();
    connection->Open(database.ConnectionString());
    connection->Execute(QStringLiteral("update config set url = 'http://127.0.0.1/' where id = 1"));

    engine::Recordset recordset;
    recordset.Open(QStringLiteral("select url, id from config"), connection);
    EXPECT_EQ(recordset.Collect(QStringLiteral("ID")).ToText(), QStringLiteral("1"));
    EXPECT_EQ(recordset.Collect(QStringLiteral("url")).ToText(), QStringLiteral("http://127.0.0.1/"));
    recordset.Close();

    // The same names, now at other places.
    recordset.Open(QStringLiteral("select url as id, id as URL from config"), connection);
    EXPECT_EQ(recordset.Collect(QStringLiteral("ID")).ToText(), QStringLiteral("http://127.0.0.1/"));
    EXPECT_EQ(recordset.Collect(QStringLiteral("url")).ToText(), QStringLiteral("1"));
    EXPECT_EQ(recordset.Collect(QStringLiteral("Url")).ToText(), QStringLiteral("1"));
    recordset.Close();
}

TEST_P(EngineProvidersTest, TransactionRollsBackEveryStatement)
{
    Connection connection;
    connection.Open(database.ConnectionString());
    connection.BeginTrans();
    connection.Execute(QStringLiteral("insert into invoice(INV_CODE, INV_NUMBER) values('1', '1')"));
    connection.Execute(QStringLiteral("insert into invoice(INV_CODE, INV_NUMBER) values('1', '2')"));
    connection.RollbackTrans();
    EXPECT_EQ(database.ReadRows(QStringLiteral("select * from invoice")).size(), 0);
}

TEST_P(EngineProvidersTest, UniqueKeyRefusalIsToldApartFromOtherErrors)
{
    Connection connection;
    connection.Open(database.ConnectionString());
    connection.Execute(InsertInvoice(QStringLiteral("A"), QStringLiteral("1")));

    using Kind = EngineError::Kind;
    struct Case {
        const char* name;
        QString statement;
        std::optional<Kind> refusal; // none: the row is stored
    } cases[] = {
        {"same code and number", InsertInvoice(QStringLiteral("A"), QStringLiteral("1")), Kind::UniqueViolation},
        {"same number, other code", InsertInvoice(QStringLiteral("B"), QStringLiteral("1")), std::nullopt},
        {"no such table", QStringLiteral("insert into nosuchtable values('1')"), Kind::Other},
        {"not a date", QStringLiteral("insert into invoice(INV_DATE) values(#2019-02-30#)"), Kind::Other},
        {"syntax", QStringLiteral("insert invoice"), Kind::Other},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::optional<Kind> refusal;
        try {
            connection.Execute(c.statement);
        } catch (const EngineError& error) {
            refusal = error.GetKind();
            EXPECT_EQ(error.IsUniqueViolation(), error.GetKind() == Kind::UniqueViolation);
            EXPECT_FALSE(error.Description().isEmpty());
        }
        EXPECT_EQ(refusal, c.refusal);
    }
    EXPECT_EQ(database.ReadRows(QStringLiteral("select * from invoice")).size(), 2);
}

// Two desks storing the same invoice at once: the second insert waits for
// the first one's transaction, then is refused as a duplicate when that one
// committed, or stored when it was rolled back.
TEST_P(EngineProvidersTest, AnInsertRacingAnUncommittedDuplicateWaitsForItsOutcome)
{
    struct Case {
        const char* name;
        bool holderCommits;
    } cases[] = {{"the first commits", true}, {"the first rolls back", false}};
    int serial = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString number = QString::number(++serial);
        Connection holder;
        holder.Open(database.ConnectionString());
        holder.BeginTrans();
        holder.Execute(InsertInvoice(QStringLiteral("RACE"), number));
        std::atomic<bool> ended = false;
        std::thread first([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(400));
            ended = true;
            if (c.holderCommits)
                holder.CommitTrans();
            else
                holder.RollbackTrans();
        });

        Connection mine;
        mine.Open(database.ConnectionString());
        QString outcome = QStringLiteral("stored");
        try {
            mine.Execute(InsertInvoice(QStringLiteral("RACE"), number));
        } catch (const EngineError& error) {
            outcome = error.IsUniqueViolation() ? QStringLiteral("duplicate") : error.Description();
        }
        const bool afterTheFirst = ended;
        first.join();

        EXPECT_EQ(outcome, c.holderCommits ? QStringLiteral("duplicate") : QStringLiteral("stored"));
        EXPECT_TRUE(afterTheFirst) << "the second insert cannot end before the first transaction";
        EXPECT_EQ(database.ReadRows(QStringLiteral("select * from invoice where INV_NUMBER = '%1'").arg(number)).size(),
                  1);
    }
}
