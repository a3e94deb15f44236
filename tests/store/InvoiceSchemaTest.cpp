#include "store/InvoiceSchema.h"
#include "store/Statements.h"
#include "store/engine/ConnectionString.h"
#include "tests/support/PostgreSqlServer.h"
#include "tests/support/ProviderParameters.h"
#include "tests/support/TempInvoiceDatabase.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringEncoder>
#include <QTemporaryDir>

using engine::ConnectionString;

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct ProgramRun {
    int exitCode = -1;
    QByteArray output;
};

ProgramRun RunProgram(const QString& program, const QStringList& arguments, const QByteArray& input = {})
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForStarted())
        return {};
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAll()};
}

} // namespace

TEST(InvoiceSchemaTest, DatabaseIsEncryptedAndReadableWithTheKey)
{
    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("invoice.ss"));
    const ProgramRun created = RunProgram(QStringLiteral(KESTRIN_INITDB), {path});
    ASSERT_EQ(created.exitCode, 0) << created.output.constData();

    const QByteArray bytes = ReadAll(path);
    ASSERT_GE(bytes.size(), 16);
    EXPECT_NE(bytes.left(16), QByteArray("SQLite format 3\0", 16));

    const QString sqlite = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    if (!sqlite.isEmpty()) {
        const ProgramRun plain = RunProgram(sqlite, {path, QStringLiteral("select name from sqlite_master;")});
        EXPECT_NE(plain.exitCode, 0) << plain.output.constData();
        EXPECT_FALSE(plain.output.contains("INVOICE"));
    }

    const QString sqlcipher = QStandardPaths::findExecutable(QStringLiteral("sqlcipher"));
    if (sqlcipher.isEmpty())
        GTEST_SKIP() << "the sqlcipher shell is not installed";
    const ProgramRun keyed = RunProgram(sqlcipher, {path},
                                 "PRAGMA key='wzqp';\n.tables\nselect id || '|' || url || '|' from config;\n");
    EXPECT_EQ(keyed.exitCode, 0) << keyed.output.constData();
    EXPECT_TRUE(keyed.output.contains("INVOICE")) << keyed.output.constData();
    EXPECT_TRUE(keyed.output.contains("config")) << keyed.output.constData();
    EXPECT_TRUE(keyed.output.contains("1||")) << keyed.output.constData();
}

TEST(InvoiceSchemaTest, ToolRefusesAnExistingFileAndLeavesItUntouched)
{
    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("invoice.ss"));
    QFile existing(path);
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("an earlier database");
    existing.close();

    const ProgramRun refused = RunProgram(QStringLiteral(KESTRIN_INITDB), {path});
    EXPECT_NE(refused.exitCode, 0);
    EXPECT_TRUE(refused.output.contains("exists")) << refused.output.constData();
    EXPECT_EQ(ReadAll(path), QByteArray("an earlier database"));

    QString error;
    EXPECT_FALSE(CreateInvoiceDatabase(path, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(ReadAll(path), QByteArray("an earlier database"));

    const ProgramRun noFolder = RunProgram(QStringLiteral(KESTRIN_INITDB), {directory.filePath("none/invoice.ss")});
    EXPECT_NE(noFolder.exitCode, 0);
    EXPECT_FALSE(noFolder.output.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(directory.filePath("none/invoice.ss")));

    EXPECT_NE(RunProgram(QStringLiteral(KESTRIN_INITDB), {}).exitCode, 0);
}

class InvoiceSchemaProvidersTest : public ::testing::TestWithParam<engine::ProviderKind> {};
INSTANTIATE_TEST_SUITE_P(Providers, InvoiceSchemaProvidersTest, kBothProviders, ProviderName);

TEST_P(InvoiceSchemaProvidersTest, TablesColumnsAndConfigRow)
{
    TempInvoiceDatabase database(GetParam(), TempInvoiceDatabase::Connect::No);
    ASSERT_TRUE(database.IsValid()) << qPrintable(database.Error());

    const auto config = database.ReadRows(Statements::SelectConfig);
    ASSERT_EQ(config.size(), 1);
    EXPECT_FALSE(config.first().value(QStringLiteral("url")).IsNull());
    EXPECT_EQ(config.first().value(QStringLiteral("url")).ToText(), QString());

    database.Run(QStringLiteral("insert into invoice(INV_CODE, INV_NUMBER) values('1', '2')"));
    const auto rows = database.ReadRows(Statements::SelectAllInvoices);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows.first().keys(),
              QStringList({"INV_BACKUP", "INV_CHECKBIT", "INV_CHECKCODE", "INV_CODE", "INV_DATE", "INV_NUMBER",
                           "INV_OPDATE", "INV_STATUS", "INV_SUBTYPE", "INV_TOPTYPE", "INV_VALUE", "IS_AUTOSCAN"}));
}

namespace {

// A new, empty database on the test server, dropped at the end.
class ServerDatabase {
public:
    ServerDatabase()
        : m_name(PostgreSqlServer::Instance().CreateDatabase(&m_error))
    {
    }
    ~ServerDatabase()
    {
        if (!m_name.isEmpty())
            PostgreSqlServer::Instance().DropDatabase(m_name);
    }
    ServerDatabase(const ServerDatabase&) = delete;
    ServerDatabase& operator=(const ServerDatabase&) = delete;

    bool IsValid() const { return !m_name.isEmpty(); }
    const QString& Error() const { return m_error; }
    QString ConnectionString() const { return PostgreSqlServer::Instance().ConnectionString(m_name); }
    QString Query(const QString& sql) const
    {
        QString output;
        PostgreSqlServer::Instance().Administer(m_name, sql, &output);
        return output;
    }

private:
    QString m_error;
    QString m_name;
};

} // namespace

TEST(InvoiceSchemaServerTest, ToolCreatesTheSchemaInAnEmptyDatabaseOnceOnly)
{
    ServerDatabase database;
    ASSERT_TRUE(database.IsValid()) << qPrintable(database.Error());

    const ProgramRun created = RunProgram(QStringLiteral(KESTRIN_INITDB), {database.ConnectionString()});
    ASSERT_EQ(created.exitCode, 0) << created.output.constData();
    EXPECT_FALSE(created.output.contains(PostgreSqlServer::ClerkPassword.toUtf8())) << "no password is shown";

    EXPECT_EQ(database.Query(QStringLiteral("select id || '|' || url || '|' from config")), QStringLiteral("1||"));
    const QString indexes = database.Query(QStringLiteral(
        "select indexdef from pg_indexes where tablename = 'invoice' order by indexname"));
    EXPECT_TRUE(indexes.contains(QStringLiteral("INDEX ix_invoice_date ON public.invoice USING btree (inv_date)")))
        << qPrintable(indexes);
    EXPECT_TRUE(indexes.contains(
        QStringLiteral("UNIQUE INDEX ux_invoice_code_number ON public.invoice USING btree (inv_code, inv_number)")))
        << qPrintable(indexes);
    EXPECT_EQ(database.Query(QStringLiteral("select data_type from information_schema.columns "
                                            "where table_name = 'invoice' and column_name = 'inv_date'")),
              QStringLiteral("timestamp without time zone"));

    // A second run finds the tables and leaves them and their rows alone.
    database.Query(QStringLiteral("update config set url = 'http://127.0.0.1/' where id = 1"));
    const ProgramRun again = RunProgram(QStringLiteral(KESTRIN_INITDB), {database.ConnectionString()});
    EXPECT_NE(again.exitCode, 0);
    EXPECT_TRUE(again.output.contains("already holds tables (config, invoice)")) << again.output.constData();
    EXPECT_EQ(database.Query(QStringLiteral("select url from config")), QStringLiteral("http://127.0.0.1/"));
}

TEST(InvoiceSchemaServerTest, ToolReadsADataLinkFile)
{
    ServerDatabase database;
    ASSERT_TRUE(database.IsValid()) << qPrintable(database.Error());
    QTemporaryDir directory;
    const QString link = directory.filePath(QStringLiteral("invoice.udl"));
    QFile file(link);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QStringEncoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom)
                   .encode(QStringLiteral("[oledb]\r\n; one register for every desk\r\n") + database.ConnectionString()
                           + QStringLiteral("\r\n")));
    file.close();

    const ProgramRun created = RunProgram(QStringLiteral(KESTRIN_INITDB), {link});
    ASSERT_EQ(created.exitCode, 0) << created.output.constData();
    EXPECT_EQ(database.Query(QStringLiteral("select count(*) from invoice")), QStringLiteral("0"));
}

TEST(InvoiceSchemaServerTest, ToolRefusals)
{
    ServerDatabase database;
    ASSERT_TRUE(database.IsValid()) << qPrintable(database.Error());
    database.Query(QStringLiteral("create table notes (line text)"));
    ServerDatabase untouched;
    ASSERT_TRUE(untouched.IsValid()) << qPrintable(untouched.Error());
    PostgreSqlServer& server = PostgreSqlServer::Instance();
    QTemporaryDir directory;

    struct Case {
        const char* name;
        QString argument;
        QByteArray says;
    } cases[] = {
        {"a database with another table", database.ConnectionString(), "already holds tables (notes)"},
        {"wrong password",
         QString(untouched.ConnectionString()).replace(ConnectionString::QuoteValue(PostgreSqlServer::ClerkPassword),
                                                       QStringLiteral("wrong")),
         "password authentication failed"},
        {"missing database", server.ConnectionString(QStringLiteral("nosuchdb")), "does not exist"},
        {"another provider", QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") +
                                 directory.filePath(QStringLiteral("invoice.ss")),
         "can only name PostgreSQL"},
        {"missing data link file", directory.filePath(QStringLiteral("none.udl")), "none.udl"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ProgramRun refused = RunProgram(QStringLiteral(KESTRIN_INITDB), {c.argument});
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_TRUE(refused.output.contains(c.says)) << refused.output.constData();
    }
    EXPECT_EQ(database.Query(QStringLiteral("select count(*) from pg_tables where schemaname = 'public'")),
              QStringLiteral("1"));
    EXPECT_EQ(untouched.Query(QStringLiteral("select count(*) from pg_tables where schemaname = 'public'")),
              QStringLiteral("0"));
    EXPECT_EQ(directory.isValid() ? QDir(directory.path()).entryList(QDir::Files).size() : -1, 0)
        << "nothing was made for the other provider";
}
