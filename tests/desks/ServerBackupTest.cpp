// Export and import at a desk whose register lies on the PostgreSQL server.
#include "tests/desks/ServerDeskFixture.h"

#include "backup/BackupField.h"
#include "store/Statements.h"
#include "store/engine/Connection.h"
#include "store/engine/Variant.h"
#include "ui/CProgressDlg.h"
#include "ui/kit/KitTestSupport.h"

#include <QDir>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

using ServerBackupTest = ServerDeskFixture;

const QString kStoreFailed = QStringLiteral("操作数据库出错，请重新尝试！");

// Every column but the remark (backup files do not carry it) as the program
// reads it, row by row in number order: comparable across the bindings.
QList<QStringList> Texts(const TempInvoiceDatabase& database)
{
    QList<QStringList> rows;
    for (const auto& row : database.ReadRows(QStringLiteral("select * from INVOICE order by INV_NUMBER"))) {
        QStringList texts;
        for (const char* column : kBackupColumnNames) {
            const engine::Variant value = row.value(QLatin1String(column));
            texts << (value.IsNull() ? QStringLiteral("<null>") : value.ToText());
        }
        rows << texts;
    }
    return rows;
}

// An export from the server moves the register, whole, into a fresh
// database on the server or into a desk's encrypted file.
TEST_F(ServerBackupTest, AnExportImportedIntoAFreshDatabaseGivesBackTheSameInvoices)
{
    StoreInvoicesOfEveryShape();
    ASSERT_EQ(Export(), QStringList{QStringLiteral("导出成功，共计导出3条数据！")});
    ASSERT_EQ(BackupFiles().size(), 1);
    const QString file = QDir(ExportFolder()).filePath(BackupFiles().at(0));
    const QList<QStringList> exported = Texts(Database());
    ASSERT_EQ(exported.size(), 3);
    EXPECT_EQ(exported.at(1).at(BackupDate), "<null>");

    for (const engine::ProviderKind kind : {engine::ProviderKind::PostgreSql, engine::ProviderKind::SqlCipher}) {
        SCOPED_TRACE(kind == engine::ProviderKind::PostgreSql ? "into the server" : "into a file");
        TempInvoiceDatabase fresh(kind);
        ASSERT_TRUE(fresh.IsValid()) << fresh.Error().toStdString();
        EXPECT_EQ(ImportThroughWindowOn(fresh, file), QStringList{QStringLiteral("成功导入3条数据！")});

        EXPECT_EQ(Texts(fresh), exported);
        EXPECT_TRUE(fresh.Messages().isEmpty()) << fresh.Messages().join('\n').toStdString();
    }
    EXPECT_TRUE(Database().Messages().isEmpty()) << Database().Messages().join('\n').toStdString();
}

// The import looks every invoice up, then stores the new ones in one
// transaction. Another desk registers one of them meanwhile: its row, not yet
// committed, is invisible to the lookup; it is committed once the import has
// read the whole file, so the import's insert meets it at the unique key
// (waiting for the commit if it gets there first). None of the file's
// invoices is stored.
TEST_F(ServerBackupTest, AnInvoiceAnotherDeskRegistersDuringTheImportStoresNothingOfTheFile)
{
    const QStringList first = Invoice(1);
    engine::Connection otherDesk;
    otherDesk.Open(Database().ConnectionString());
    otherDesk.BeginTrans();
    otherDesk.Execute(Statements::Format(
        Statements::InsertInvoiceWithDate,
        {first[BackupTopType], first[BackupSubType], first[BackupCode], first[BackupNumber], first[BackupValue],
         first[BackupDate], first[BackupCheckCode], first[BackupCheckBit], QStringLiteral("2024-06-01"), 1,
         QStringLiteral("another desk")}));
    std::atomic<bool> committed = false;
    std::atomic<bool> committedAfterReading = false;
    const auto commit = [&](bool afterReading) {
        if (!committed.exchange(true)) {
            committedAfterReading = afterReading;
            otherDesk.CommitTrans();
        }
    };
    CProgressDlg::SetBarObserver([&](int percent) {
        // Near half: the file has been read and every invoice looked up.
        if (percent >= 45)
            commit(true);
    });
    // Should the bar not get there, the import must still not wait forever.
    std::thread fallback([&] {
        for (int i = 0; i < 100 && !committed; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        commit(false);
    });
    QByteArray lines;
    for (int n = 1; n <= 8; ++n)
        lines += Line(Invoice(n));
    const QStringList prompts = Import(WriteImportFile(lines));
    fallback.join();
    CProgressDlg::SetBarObserver({});

    ASSERT_TRUE(committedAfterReading);
    EXPECT_EQ(prompts, QStringList{kStoreFailed});
    const auto rows = Database().ReadRows(QStringLiteral("select * from INVOICE"));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows.at(0).value("INV_BACKUP").ToText(), "another desk");
    EXPECT_EQ(Database().Messages().size(), 1) << "the server's refusal comes first";

    // Imported again, the file's other invoices arrive and the one
    // registered elsewhere counts as a duplicate.
    Database().MessageBoxes().Clear();
    EXPECT_EQ(Import(WriteImportFile(lines)), QStringList{QStringLiteral("成功导入7条数据,有1条数据在系统中已经存在！")});
    EXPECT_EQ(CountInvoices(), 8);
    EXPECT_TRUE(Database().Messages().isEmpty()) << Database().Messages().join('\n').toStdString();
}

TEST_F(ServerBackupTest, AnInvoiceTheServerRefusesStoresNothingOfTheFile)
{
    QStringList badDate = Invoice(2);
    badDate[BackupDate] = QStringLiteral("2024-13-45");
    EXPECT_EQ(Import(WriteImportFile(Line(Invoice(1)) + Line(badDate) + Line(Invoice(3)))),
              QStringList{kStoreFailed});
    EXPECT_EQ(CountInvoices(), 0);
    EXPECT_EQ(Database().Messages().size(), 1);
}

} // namespace
