#include "store/CAdoConnection.h"
#include "store/Statements.h"
#include "store/engine/Connection.h"
#include "store/engine/EngineError.h"
#include "tests/support/PostgreSqlServer.h"
#include "tests/support/ProviderParameters.h"
#include "tests/support/TempInvoiceDatabase.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringEncoder>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

QString InsertRow(const QString& code, const QString& number)
{
    return Statements::Format(Statements::InsertInvoiceWithDate,
                              {QString(), QString(), code, number, QStringLiteral("10.00"),
                               QStringLiteral("2019-01-02"), QStringLiteral("123456"), QString(),
                               QStringLiteral("2019-03-04"), 0, QString()});
}

int CountInvoices(const TempInvoiceDatabase& database)
{
    return static_cast<int>(database.ReadRows(Statements::SelectAllInvoices).size());
}

// The connection's behaviour that both bindings share, each on a fresh database.
class CAdoConnectionTest : public ::testing::TestWithParam<engine::ProviderKind> {
protected:
    engine::ProviderKind Kind() const { return GetParam(); }
};

struct FailedOpenCase {
    const char* name;
    QString connectionString;
    QString serverSays; // part of the server's own description, when a server answers
};

// Connection strings that cannot open, for the binding of `database`.
QList<FailedOpenCase> FailedOpenCases(const TempInvoiceDatabase& database)
{
    if (database.Kind() == engine::ProviderKind::PostgreSql) {
        PostgreSqlServer& server = PostgreSqlServer::Instance();
        return {
            {"wrong password",
             server.ConnectionString(database.DatabaseName(), PostgreSqlServer::ClerkUser, QStringLiteral("wrong")),
             QStringLiteral("password authentication failed")},
            {"missing database", server.ConnectionString(QStringLiteral("nosuchdb")),
             QStringLiteral("database \"nosuchdb\" does not exist")},
            {"server down",
             QString(server.ConnectionString(database.DatabaseName()))
                 .replace(QStringLiteral("Port=%1").arg(server.Port()),
                          QStringLiteral("Port=%1").arg(PostgreSqlServer::FreePort())),
             QStringLiteral("Connection refused")},
            {"unknown provider", QString(database.ConnectionString()).replace(
                                     QStringLiteral("PostgreSQL"), QStringLiteral("MSDASQL")), QString()},
        };
    }
    QFile notADatabase(database.Directory() + QStringLiteral("/plain.txt"));
    if (notADatabase.open(QIODevice::WriteOnly))
        notADatabase.write(QByteArray(4096, 'x'));
    return {
        {"missing file", Statements::ConnectionString(database.Directory() + QStringLiteral("/missing.ss")), QString()},
        {"wrong password", QString(Statements::ConnectionString(database.Path())).replace(
                               QStringLiteral("Password=wzqp"), QStringLiteral("Password=wzq")), QString()},
        {"not a database", Statements::ConnectionString(notADatabase.fileName()), QString()},
        {"unknown provider", QString(Statements::ConnectionString(database.Path())).replace(
                                 QStringLiteral("Microsoft.Jet.OLEDB.4.0"), QStringLiteral("Microsoft.ACE.OLEDB.12.0")),
         QString()},
    };
}

} // namespace

INSTANTIATE_TEST_SUITE_P(Providers, CAdoConnectionTest, kBothProviders, ProviderName);

TEST_P(CAdoConnectionTest, FailedOpenShowsOneMessageThenEveryOperationAnEmptyOne)
{
    TempInvoiceDatabase database(Kind(), TempInvoiceDatabase::Connect::No);
    ASSERT_TRUE(database.IsValid()) << qPrintable(database.Error());

    for (const auto& c : FailedOpenCases(database)) {
        SCOPED_TRACE(c.name);
        database.MessageBoxes().Clear();
        CAdoConnection connection;
        EXPECT_FALSE(connection.Open(QString(), QString(), QString(), -1, c.connectionString));
        const QStringList openMessages = database.MessageBoxes().Take();
        ASSERT_EQ(openMessages.size(), 1);
        EXPECT_FALSE(openMessages.first().isEmpty());
        EXPECT_TRUE(openMessages.first().contains(c.serverSays)) << qPrintable(openMessages.first());
        EXPECT_FALSE(openMessages.first().contains(PostgreSqlServer::ClerkPassword)) << "no password is shown";

        EXPECT_FALSE(connection.Execute(InsertRow(QStringLiteral("1"), QStringLiteral("1"))));
        EXPECT_EQ(connection.GetRecordCount(), 0);
        EXPECT_FALSE(connection.OpenRecordset(Statements::SelectAllInvoices));
        EXPECT_FALSE(connection.Execute(Statements::SelectConfig));
        EXPECT_EQ(database.MessageBoxes().Take(), QStringList({QString(), QString(), QString()}));
        EXPECT_FALSE(connection.ExecuteBatch({InsertRow(QStringLiteral("1"), QStringLiteral("1"))}));
        EXPECT_EQ(database.MessageBoxes().Take().size(), 1);
        EXPECT_EQ(connection.GetRecordset(), nullptr);
    }
    EXPECT_FALSE(QFileInfo::exists(database.Directory() + QStringLiteral("/missing.ss")));
}

TEST_P(CAdoConnectionTest, ExecuteCountsTheRowsItChangedAndReportsRejections)
{
    TempInvoiceDatabase database(Kind());
    ASSERT_TRUE(database.IsValid()) << qPrintable(database.Error());
    CAdoConnection& connection = database.Connection();

    EXPECT_TRUE(connection.Execute(InsertRow(QStringLiteral("044001"), QStringLiteral("0001"))));
    EXPECT_EQ(connection.GetRecordCount(), 1);
    EXPECT_TRUE(connection.Execute(InsertRow(QStringLiteral("044001"), QStringLiteral("0002"))));
    EXPECT_TRUE(connection.Execute(QStringLiteral("update INVOICE set INV_STATUS = '0'")));
    EXPECT_EQ(connection.GetRecordCount(), 2);
    EXPECT_TRUE(database.Messages().isEmpty());

    EXPECT_FALSE(connection.Execute(QStringLiteral("INSERT INTO NOSUCHTABLE VALUES('1')")));
    EXPECT_EQ(connection.GetRecordCount(), 0);
    // The same code and number again: the unique index refuses it.
    EXPECT_FALSE(connection.Execute(InsertRow(QStringLiteral("044001"), QStringLiteral("0001"))));
    const QStringList messages = database.Messages();
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages.at(0).contains(QStringLiteral("NOSUCHTABLE"), Qt::CaseInsensitive))
        << qPrintable(messages.at(0));
    EXPECT_FALSE(messages.at(1).isEmpty());
    EXPECT_EQ(CountInvoices(database), 2);
}

TEST_P(CAdoConnectionTest, RecordsetProtocol)
{
    TempInvoiceDatabase database(Kind());
    ASSERT_TRUE(database.IsValid()) << qPrintable(database.Error());
    CAdoConnection& connection = database.Connection();

    ASSERT_TRUE(connection.OpenRecordset(Statements::Format(Statements::SelectInvoiceByNumberAndCode,
                                                            {QStringLiteral("1"), QStringLiteral("2")})));
    EXPECT_EQ(connection.GetRecordCount(), 0);
    EXPECT_EQ(connection.GetFieldCount(), 12);
    auto recordset = connection.GetRecordset();
    ASSERT_NE(recordset, nullptr);
    EXPECT_TRUE(recordset->IsEOF());
    recordset->Close();

    ASSERT_TRUE(connection.Execute(InsertRow(QStringLiteral("A"), QStringLiteral("1"))));
    ASSERT_TRUE(connection.Execute(InsertRow(QStringLiteral("B"), QStringLiteral("2"))));
    ASSERT_TRUE(connection.OpenRecordset(Statements::SelectAllInvoices));
    EXPECT_EQ(connection.GetRecordCount(), 2);
    recordset = connection.GetRecordset();
    EXPECT_EQ(recordset->RecordCount(), 2);
    QStringList codes;
    for (; !recordset->IsEOF(); recordset->MoveNext())
        codes << recordset->Collect(QStringLiteral("inv_code")).ToText();
    EXPECT_EQ(codes, QStringList({QStringLiteral("A"), QStringLiteral("B")}));

    // Still open: the next query is refused with the engine's message.
    EXPECT_FALSE(connection.OpenRecordset(Statements::SelectConfig));
    ASSERT_EQ(database.Messages().size(), 1);
    EXPECT_FALSE(database.Messages().first().isEmpty());
    recordset->Close();
    EXPECT_EQ(recordset->State(), engine::adStateClosed);
    ASSERT_TRUE(connection.OpenRecordset(Statements::SelectConfig));
    EXPECT_EQ(connection.GetRecordset(), recordset) << "one record set object is reused";
    EXPECT_EQ(recordset->Collect(QStringLiteral("id")).ToText(), QStringLiteral("1"));
    recordset->Close();
}

TEST_P(CAdoConnectionTest, BatchIsAllOrNothing)
{
    TempInvoiceDatabase database(Kind());
    ASSERT_TRUE(database.IsValid()) << qPrintable(database.Error());
    CAdoConnection& connection = database.Connection();

    EXPECT_TRUE(connection.ExecuteBatch({}));
    EXPECT_FALSE(connection.ExecuteBatch({
        InsertRow(QStringLiteral("A"), QStringLiteral("1")),
        InsertRow(QStringLiteral("A"), QStringLiteral("2")),
        QStringLiteral("INSERT INTO INVOICE(INV_CODE, INV_DATE) VALUES('A', #2019-02-30#)"),
        InsertRow(QStringLiteral("A"), QStringLiteral("4")),
    }));
    ASSERT_EQ(database.Messages().size(), 1);
    EXPECT_FALSE(database.Messages().first().isEmpty());
    EXPECT_EQ(CountInvoices(database), 0);

    // A failure inside the database (a duplicate) is rolled back as well.
    EXPECT_FALSE(connection.ExecuteBatch({
        InsertRow(QStringLiteral("B"), QStringLiteral("1")),
        InsertRow(QStringLiteral("B"), QStringLiteral("2")),
        InsertRow(QStringLiteral("B"), QStringLiteral("1")),
    }));
    EXPECT_EQ(CountInvoices(database), 0);

    EXPECT_TRUE(connection.ExecuteBatch({
        InsertRow(QStringLiteral("C"), QStringLiteral("1")),
        InsertRow(QStringLiteral("C"), QStringLiteral("2")),
    }));
    EXPECT_EQ(CountInvoices(database), 2);
    EXPECT_EQ(database.Messages().size(), 2);
    // The connection is usable after a rolled back batch.
    EXPECT_TRUE(connection.Execute(InsertRow(QStringLiteral("D"), QStringLiteral("1"))));
}

TEST_P(CAdoConnectionTest, DataLinkFileGivesTheConnectionString)
{
    TempInvoiceDatabase database(Kind(), TempInvoiceDatabase::Connect::No);
    ASSERT_TRUE(database.IsValid()) << qPrintable(database.Error());
    const QString text = QStringLiteral("[oledb]\r\n; Everything after this line is an OLE DB initstring\r\n")
        + database.ConnectionString() + QStringLiteral("\r\n");

    struct Case {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"UTF-16 with BOM", QStringEncoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom).encode(text)},
        {"UTF-8", text.toUtf8()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString link = database.Directory() + QStringLiteral("/kestrin.udl");
        QFile file(link);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.bytes);
        file.close();

        CAdoConnection connection;
        ASSERT_TRUE(connection.Open(QString(), QString(), link, -1, QStringLiteral("Provider=nothing")));
        EXPECT_TRUE(connection.OpenRecordset(Statements::SelectConfig));
    }

    // A path at which no file exists: the given string is used.
    CAdoConnection connection;
    EXPECT_TRUE(connection.Open(QString(), QString(), database.Directory() + QStringLiteral("/none.udl"), -1,
                                database.ConnectionString()));
    EXPECT_TRUE(database.Messages().isEmpty()) << qPrintable(database.Messages().join(QLatin1Char('\n')));
}

TEST_P(CAdoConnectionTest, CloseAndOpenAgain)
{
    TempInvoiceDatabase database(Kind());
    ASSERT_TRUE(database.IsValid()) << qPrintable(database.Error());
    CAdoConnection& connection = database.Connection();
    ASSERT_TRUE(connection.OpenRecordset(Statements::SelectConfig));
    connection.Close();
    EXPECT_EQ(connection.GetRecordset(), nullptr);
    EXPECT_FALSE(connection.Execute(InsertRow(QStringLiteral("A"), QStringLiteral("1"))));
    ASSERT_TRUE(connection.Open(QString(), QString(), QString(), -1, database.ConnectionString()));
    EXPECT_TRUE(connection.Execute(InsertRow(QStringLiteral("A"), QStringLiteral("1"))));
    // Opening an open connection again starts over on the new database.
    ASSERT_TRUE(connection.Open(QString(), QString(), QString(), -1, database.ConnectionString()));
    EXPECT_TRUE(connection.OpenRecordset(Statements::SelectAllInvoices));
    EXPECT_EQ(connection.GetRecordCount(), 1);
}

TEST_P(CAdoConnectionTest, UsableFromAWorkerThreadWhileTheMainThreadWaits)
{
    TempInvoiceDatabase database(Kind());
    ASSERT_TRUE(database.IsValid()) << qPrintable(database.Error());
    CAdoConnection& connection = database.Connection();

    bool batchStored = false;
    bool rejected = true;
    int found = -1;
    std::thread worker([&] {
        QStringList batch;
        for (int i = 0; i < 50; ++i)
            batch << InsertRow(QStringLiteral("W"), QString::number(i));
        batchStored = connection.ExecuteBatch(batch);
        rejected = connection.Execute(QStringLiteral("not a statement"));
        if (connection.OpenRecordset(Statements::SelectAllInvoices)) {
            auto recordset = connection.GetRecordset();
            found = 0;
            for (; !recordset->IsEOF(); recordset->MoveNext())
                ++found;
            recordset->Close();
        }
    });
    worker.join();

    EXPECT_TRUE(batchStored);
    EXPECT_FALSE(rejected);
    EXPECT_EQ(found, 50);
    EXPECT_EQ(database.Messages().size(), 1) << "the worker's error is shown once";
    EXPECT_TRUE(connection.OpenRecordset(Statements::SelectConfig));
}

TEST(CAdoConnectionFileTest, ASecondConnectionWaitsForTheWriteLock)
{
    TempInvoiceDatabase database;
    ASSERT_TRUE(database.IsValid()) << qPrintable(database.Error());

    // Another program holds the write lock for a while.
    engine::Connection other;
    other.Open(database.ConnectionString());
    other.BeginTrans();
    other.Execute(InsertRow(QStringLiteral("OTHER"), QStringLiteral("1")));
    std::atomic<bool> released = false;
    std::thread holder([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        released = true;
        other.CommitTrans();
    });

    const bool stored = database.Connection().Execute(InsertRow(QStringLiteral("MINE"), QStringLiteral("1")));
    const bool afterRelease = released;
    holder.join();

    EXPECT_TRUE(stored) << qPrintable(database.Messages().join(QLatin1Char('\n')));
    EXPECT_TRUE(afterRelease) << "the insert can only have succeeded after the lock was released";
    EXPECT_EQ(CountInvoices(database), 2);
}

TEST(CAdoConnectionFileTest, WaitsForALockHeldByAnotherProcess)
{
    const QString shell = QStandardPaths::findExecutable(QStringLiteral("sqlcipher"));
    if (shell.isEmpty())
        GTEST_SKIP() << "the sqlcipher shell is not installed";
    TempInvoiceDatabase database;
    ASSERT_TRUE(database.IsValid()) << qPrintable(database.Error());

    // The shell takes the write lock, says so, holds it for a second, commits.
    QProcess other;
    other.setProcessChannelMode(QProcess::MergedChannels);
    other.start(shell, {database.Path()});
    ASSERT_TRUE(other.waitForStarted());
    other.write("PRAGMA key='wzqp';\n"
                "BEGIN IMMEDIATE;\n"
                "INSERT INTO INVOICE(INV_CODE, INV_NUMBER) VALUES('OTHER', '1');\n"
                ".print locked\n"
                ".shell sleep 1\n"
                "COMMIT;\n");
    other.closeWriteChannel();
    QByteArray output;
    while (!output.contains("locked") && other.waitForReadyRead(10000))
        output += other.readAll();
    ASSERT_TRUE(output.contains("locked")) << output.constData();

    EXPECT_TRUE(database.Connection().Execute(InsertRow(QStringLiteral("MINE"), QStringLiteral("1"))))
        << qPrintable(database.Messages().join(QLatin1Char('\n')));
    ASSERT_TRUE(other.waitForFinished(10000));
    EXPECT_EQ(other.exitCode(), 0) << (output + other.readAll()).constData();
    EXPECT_EQ(CountInvoices(database), 2);
}
