#include "store/InvoiceSchema.h"
#include "store/Statements.h"
#include "tests/support/TempInvoiceDatabase.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

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

TEST(InvoiceSchemaTest, TablesColumnsAndConfigRow)
{
    TempInvoiceDatabase database(TempInvoiceDatabase::Connect::No);
    ASSERT_TRUE(database.IsValid()) << qPrintable(database.Error());

    const auto config = database.ReadRows(Statements::SelectConfig);
    ASSERT_EQ(config.size(), 1);
    EXPECT_EQ(config.first().value(QStringLiteral("url")).ToText(), QString());

    database.Run(QStringLiteral("insert into invoice(INV_CODE, INV_NUMBER) values('1', '2')"));
    const auto rows = database.ReadRows(Statements::SelectAllInvoices);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows.first().keys(),
              QStringList({"INV_BACKUP", "INV_CHECKBIT", "INV_CHECKCODE", "INV_CODE", "INV_DATE", "INV_NUMBER",
                           "INV_OPDATE", "INV_STATUS", "INV_SUBTYPE", "INV_TOPTYPE", "INV_VALUE", "IS_AUTOSCAN"}));
}
