#include "tests/backup/BackupTestFiles.h"
#include "tests/backup/BackupWindowFixture.h"

#include "backup/BackupField.h"
#include "backup/BackupFileWriter.h"
#include "backup/ImportPause.h"
#include "ui/CProgressDlg.h"
#include "ui/kit/KitTestSupport.h"

#include <QDir>

#include <algorithm>

namespace {

using ImportTest = BackupWindowFixture;

const QString kFormatError = QStringLiteral("备份文件格式有误，导入失败！");
const QString kNoLines = QStringLiteral("解析文件有误，未找到正确的发票信息！");
const QString kAllStored = QStringLiteral("文件中的发票信息都已存在，请勿重复导入！");
const QString kStoreFailed = QStringLiteral("操作数据库出错，请重新尝试！");
const QString kOpenFailed = QStringLiteral("打开备份文件失败！");

QString Imported(int count)
{
    return QStringLiteral("成功导入%1条数据！").arg(count);
}

QString Imported(int count, int duplicates)
{
    return QStringLiteral("成功导入%1条数据,有%2条数据在系统中已经存在！").arg(count).arg(duplicates);
}

QByteArray Lines(int from, int to)
{
    QByteArray bytes;
    for (int n = from; n <= to; ++n)
        bytes += BackupWindowFixture::Line(BackupWindowFixture::Invoice(n));
    return bytes;
}

// The rows of a database without the remark, which backup files do not carry.
QList<QMap<QString, engine::Variant>> RowsWithoutRemark(const TempInvoiceDatabase& database)
{
    auto rows = database.ReadRows(QStringLiteral("select * from INVOICE order by INV_NUMBER"));
    for (auto& row : rows)
        row.remove(QStringLiteral("INV_BACKUP"));
    return rows;
}

struct ImportCase {
    const char* name;
    int storedFirst; // invoices 1..storedFirst are stored before the import
    QByteArray file;
    QString message;
    int rowsAfter;
};

TEST_F(ImportTest, EachOutcomeEndsWithItsMessage)
{
    QByteArray tenFields = Line(Invoice(2));
    tenFields.replace(",1\r\n", "\r\n");
    const ImportCase cases[] = {
        {"a ten-field second line rejects the whole file", 0, Lines(1, 1) + tenFields, kFormatError, 0},
        {"an empty trailing line rejects the whole file", 0, Lines(1, 3) + "\r\n", kFormatError, 0},
        {"an empty file holds no invoice", 0, QByteArray(), kNoLines, 0},
        {"every invoice stored already", 2, Lines(1, 2), kAllStored, 2},
        {"all new", 0, Lines(1, 3), Imported(3), 3},
        {"5 new and 3 stored", 3, Lines(1, 8), Imported(5, 3), 8},
    };
    for (const ImportCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(Database().Connection().Execute(QStringLiteral("Delete * from INVOICE")));
        for (int n = 1; n <= c.storedFirst; ++n)
            Store(Invoice(n));
        EXPECT_EQ(Import(WriteImportFile(c.file)), QStringList{c.message});
        EXPECT_EQ(CountInvoices(), c.rowsAfter);
        EXPECT_EQ(g_bProgressOpen.load(), 0);
    }
    EXPECT_TRUE(Database().Messages().isEmpty()) << Database().Messages().join('\n').toStdString();
}

TEST_F(ImportTest, AFileThatCannotBeOpenedEndsWithItsMessage)
{
    const QString missing = QDir(ExportFolder()).filePath(QStringLiteral("missing.dat"));
    EXPECT_EQ(Import(missing), QStringList{kOpenFailed});

    // Another program is writing the file and holds it locked.
    const QString busy = WriteImportFile(Lines(1, 2));
    BackupFileWriter other;
    ASSERT_TRUE(other.Open(busy));
    EXPECT_EQ(Import(busy), QStringList{kOpenFailed});
    other.Close();
    EXPECT_EQ(CountInvoices(), 0);
}

TEST_F(ImportTest, AnInvoiceTheDatabaseRefusesStoresNothingOfTheFile)
{
    QStringList badDate = Invoice(2);
    badDate[BackupDate] = QStringLiteral("2024-13-45");
    EXPECT_EQ(Import(WriteImportFile(Lines(1, 1) + Line(badDate) + Lines(3, 3))), QStringList{kStoreFailed});
    EXPECT_EQ(CountInvoices(), 0);
    EXPECT_EQ(Database().Messages().size(), 1) << "the database's own error comes first";
}

TEST_F(ImportTest, TheSameInvoiceTwiceInOneFileIsNewOnlyOnce)
{
    EXPECT_EQ(Import(WriteImportFile(Lines(1, 2) + Lines(1, 1))), QStringList{Imported(2, 1)});
    EXPECT_EQ(CountInvoices(), 2);
    EXPECT_TRUE(Database().Messages().isEmpty()) << Database().Messages().join('\n').toStdString();
}

TEST_F(ImportTest, ApostrophesAndOtherValuesArriveUnchanged)
{
    QStringList invoice = Invoice(1);
    invoice[BackupCheckCode] = QStringLiteral("12'34 #5%s");
    invoice[BackupValue] = QStringLiteral("O'Neil');--");
    EXPECT_EQ(Import(WriteImportFile(Line(invoice))), QStringList{Imported(1)});
    const auto rows = Database().ReadRows(QStringLiteral("select * from INVOICE"));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows.at(0).value("INV_CHECKCODE").ToText(), "12'34 #5%s");
    EXPECT_EQ(rows.at(0).value("INV_VALUE").ToText(), "O'Neil');--");
}

// Files written by the Windows program: regional date forms, LF or CR LF,
// blanks around fields, bytes above 0x7F, no line end after the last line.
TEST_F(ImportTest, FilesOfTheWindowsProgramImport)
{
    const QByteArray file = "01,04,10000001,144031900111,10.00,2019/1/2,\xE9t\xE9,1,,2019/1/3,1\r\n"
                            " 01 , 04 , 10000002 , 144031900111 , 20.00 , 1/2/2019 , x , 1 , 7 , 1/3/2019 , 0 \n"
                            "01,04,10000003,144031900111,30.00,2019-01-02,y,1,,2019-01-03,1";
    EXPECT_EQ(Import(WriteImportFile(file)), QStringList{Imported(3)});
    const auto rows = Database().ReadRows(QStringLiteral("select * from INVOICE order by INV_NUMBER"));
    ASSERT_EQ(rows.size(), 3);
    for (const auto& row : rows) {
        EXPECT_EQ(row.value("INV_DATE").ToDateTime().date(), QDate(2019, 1, 2));
        EXPECT_EQ(row.value("INV_OPDATE").ToDateTime().date(), QDate(2019, 1, 3));
    }
    EXPECT_EQ(rows.at(0).value("INV_CHECKCODE").ToText(), QStringLiteral("ét\u00E9"));
    EXPECT_EQ(rows.at(1).value("INV_VALUE").ToText(), "20.00");
    EXPECT_EQ(rows.at(1).value("INV_CHECKBIT").ToText(), "7");
    EXPECT_EQ(rows.at(1).value("IS_AUTOSCAN").ToText(), "0");
}

TEST_F(ImportTest, AnEmptyDateFieldStoresNoDate)
{
    QStringList undated = Invoice(1);
    undated[BackupDate].clear();
    EXPECT_EQ(Import(WriteImportFile(Line(undated))), QStringList{Imported(1)});
    const auto rows = Database().ReadRows(QStringLiteral("select * from INVOICE"));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_TRUE(rows.at(0).value("INV_DATE").IsNull());
    EXPECT_TRUE(rows.at(0).value("INV_OPDATE").IsDate());
}

TEST_F(ImportTest, TheBarRisesBelowHalfWhileReadingThenReaches100)
{
    EXPECT_EQ(Import(WriteImportFile(Lines(1, 8))), QStringList{Imported(8)});
    const std::vector<int>& values = BarValues();
    ASSERT_GE(values.size(), 2u);
    EXPECT_EQ(values.back(), 100);
    const std::vector<int> reading(values.begin(), values.end() - 1);
    EXPECT_TRUE(std::is_sorted(reading.begin(), reading.end()));
    EXPECT_EQ(std::adjacent_find(reading.begin(), reading.end()), reading.end()) << "a value given twice";
    EXPECT_LT(reading.back(), 50);
    EXPECT_GE(reading.back(), 45);
}

TEST_F(ImportTest, AnExportedFileImportedIntoAFreshDatabaseGivesBackTheSameRows)
{
    StoreInvoicesOfEveryShape();
    ASSERT_EQ(Export(), QStringList{QStringLiteral("导出成功，共计导出3条数据！")});
    ASSERT_EQ(BackupFiles().size(), 1);

    TempInvoiceDatabase fresh;
    ASSERT_TRUE(fresh.IsValid()) << fresh.Error().toStdString();
    EXPECT_EQ(ImportThroughWindowOn(fresh, QDir(ExportFolder()).filePath(BackupFiles().at(0))),
              QStringList{Imported(3)});

    EXPECT_EQ(RowsWithoutRemark(fresh), RowsWithoutRemark(Database()));
    EXPECT_TRUE(fresh.Messages().isEmpty()) << fresh.Messages().join('\n').toStdString();
}

// With the program's one-second pause: the clerk closes the progress dialog
// and then the main window while the import waits. The import still stores
// its invoices and shows its message, and the command returns only then.
TEST_F(ImportTest, ClosingTheDialogAndTheWindowEarlyLetsTheImportFinish)
{
    ImportPause::SetLength(ImportPause::kDefaultLength);
    bool closedByClerk = false;
    kit::test::WhenWindowShown(QStringLiteral("CProgressDlg"), [&](HWND dialog) {
        kit::test::Click(dialog, QStringLiteral("closebtn"));
        kit::test::WaitForWindowGone(dialog);
        closedByClerk = g_bProgressOpen.load() == 0;
        Window().Close(1);
    });
    const QStringList prompts = Import(WriteImportFile(Lines(1, 2)));

    EXPECT_TRUE(closedByClerk);
    EXPECT_EQ(prompts, QStringList{Imported(2)});
    EXPECT_EQ(CountInvoices(), 2);
    EXPECT_EQ(Window().GetHWND(), nullptr) << "the main window closed meanwhile";
}

// Fully digital e-invoices carry no code: the empty code and the 20-digit
// number are their identity through export and import.
TEST_F(ImportTest, DigitalInvoicesWithoutACodeTravelThroughABackup)
{
    QStringList digital = Invoice(1);
    digital[BackupCode].clear();
    digital[BackupNumber] = QStringLiteral("23442000000014209621");
    QStringList otherDigital = digital;
    otherDigital[BackupNumber] = QStringLiteral("23442000000014209622");
    Store(digital);
    Store(otherDigital);
    Store(Invoice(2));
    ASSERT_EQ(Export(), QStringList{QStringLiteral("导出成功，共计导出3条数据！")});
    ASSERT_EQ(BackupFiles().size(), 1);
    const QString file = QDir(ExportFolder()).filePath(BackupFiles().at(0));

    TempInvoiceDatabase fresh;
    ASSERT_TRUE(fresh.IsValid()) << fresh.Error().toStdString();
    EXPECT_EQ(ImportThroughWindowOn(fresh, file, 2), (QStringList{Imported(3), kAllStored}));

    EXPECT_EQ(RowsWithoutRemark(fresh), RowsWithoutRemark(Database()));
    EXPECT_EQ(fresh.ReadRows(QStringLiteral("select * from INVOICE where INV_CODE = ''")).size(), 2);
}

} // namespace
