#include "backup/BackupDateText.h"
#include "backup/BackupField.h"
#include "backup/BackupFileName.h"
#include "backup/BackupFileReader.h"
#include "backup/BackupFileWriter.h"
#include "backup/BackupLineComposer.h"
#include "backup/BackupLineParser.h"
#include "backup/BackupValueCheck.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <ostream>

namespace {

const QStringList kInvoice = {"01",  "04", "00015045", "4200161350", "165106.00", "2016-05-01",
                              "48114255542168294433", "1", "DBFE", "2024-03-05", "1"};

TEST(BackupLineComposer, JoinsElevenValuesWithTenSeparators)
{
    EXPECT_EQ(BackupLineComposer::Compose(kInvoice),
              "01,04,00015045,4200161350,165106.00,2016-05-01,48114255542168294433,1,DBFE,2024-03-05,1");
    QStringList withNulls = kInvoice;
    withNulls[BackupTopType] = QString();
    withNulls[BackupCheckBit] = QString();
    withNulls[BackupAutoScan] = QString();
    EXPECT_EQ(BackupLineComposer::Compose(withNulls),
              ",04,00015045,4200161350,165106.00,2016-05-01,48114255542168294433,1,,2024-03-05,");
    EXPECT_EQ(BackupLineComposer::Compose({}), ",,,,,,,,,,");
    EXPECT_EQ(BackupLineComposer::Compose(kInvoice + QStringList{"extra"}),
              BackupLineComposer::Compose(kInvoice));
}

struct ParseCase {
    const char* name;
    QString line;
    bool accepted;
    QStringList fields;
};

void PrintTo(const ParseCase& c, std::ostream* os)
{
    *os << c.name;
}

class BackupLineParserCases : public ::testing::TestWithParam<ParseCase> {};

TEST_P(BackupLineParserCases, SplitsOrRejects)
{
    const ParseCase& c = GetParam();
    QStringList fields{"stale"};
    EXPECT_EQ(BackupLineParser::Parse(c.line, fields), c.accepted);
    EXPECT_EQ(fields, c.fields);
}

INSTANTIATE_TEST_SUITE_P(
    Table, BackupLineParserCases,
    ::testing::Values(
        ParseCase{"Plain", "a,b,n,c,v,d,k,1,,o,0", true, {"a", "b", "n", "c", "v", "d", "k", "1", "", "o", "0"}},
        ParseCase{"BlanksAroundFieldsAndLine", "  a , b ,n, c ,v,d ,k,1, ,o,0 \r",
                  true, {"a", "b", "n", "c", "v", "d", "k", "1", "", "o", "0"}},
        ParseCase{"CommaInsideAValueShifts", "a,b,n,c,v,x,y,d,k,1,,o,0",
                  true, {"a", "b", "n", "c", "v", "x", "y", "d", "k", "1", ""}},
        ParseCase{"TenFields", "a,b,n,c,v,d,k,1,,o", false, {}},
        ParseCase{"NullLastValueLeavesTen", "a,b,n,c,v,d,k,1,,o,", false, {}},
        ParseCase{"EmptyLine", "", false, {}},
        ParseCase{"BlankLine", " \t", false, {}}),
    [](const ::testing::TestParamInfo<ParseCase>& info) { return std::string(info.param.name); });

TEST(BackupLineParser, TakesCodeFromFieldFourAndNumberFromFieldThree)
{
    QStringList fields;
    ASSERT_TRUE(BackupLineParser::Parse(BackupLineComposer::Compose(kInvoice), fields));
    EXPECT_EQ(fields.at(BackupCode), "4200161350");
    EXPECT_EQ(fields.at(BackupNumber), "00015045");
    EXPECT_STREQ(kBackupColumnNames[BackupCode], "INV_CODE");
    EXPECT_STREQ(kBackupColumnNames[BackupNumber], "INV_NUMBER");
}

struct ValueCase {
    const char* name;
    QString value;
    BackupValueCheck::Problem problem;
};

void PrintTo(const ValueCase& c, std::ostream* os)
{
    *os << c.name;
}

class BackupValueCheckCases : public ::testing::TestWithParam<ValueCase> {};

TEST_P(BackupValueCheckCases, NamesTheProblem)
{
    const ValueCase& c = GetParam();
    EXPECT_EQ(BackupValueCheck::Check(c.value), c.problem);
    EXPECT_EQ(BackupValueCheck::Describe(c.problem).isEmpty(),
              c.problem == BackupValueCheck::Problem::None);
}

using Problem = BackupValueCheck::Problem;
INSTANTIATE_TEST_SUITE_P(
    Table, BackupValueCheckCases,
    ::testing::Values(
        ValueCase{"Empty", QString(), Problem::None},
        ValueCase{"Ascii", "165106.00", Problem::None},
        ValueCase{"ApostropheIsTheStoresBusiness", "O'Brien", Problem::None},
        ValueCase{"Latin1Top", QString::fromLatin1("caf\xE9\xFF"), Problem::None},
        ValueCase{"Comma", "1,5", Problem::Separator},
        ValueCase{"LineFeed", "a\nb", Problem::LineBreak},
        ValueCase{"CarriageReturn", "a\r", Problem::LineBreak},
        ValueCase{"Chinese", QStringLiteral("办公用品"), Problem::WideCharacter},
        ValueCase{"JustAboveLatin1", QString(QChar(0x100)), Problem::WideCharacter},
        ValueCase{"Euro", QStringLiteral("€5"), Problem::WideCharacter},
        ValueCase{"FirstProblemWins", QStringLiteral("发,"), Problem::WideCharacter}),
    [](const ::testing::TestParamInfo<ValueCase>& info) { return std::string(info.param.name); });

TEST(BackupValueCheck, ChecksEveryValueAndAllowsSeparatorsInALine)
{
    EXPECT_EQ(BackupValueCheck::CheckAll(kInvoice), Problem::None);
    QStringList bad = kInvoice;
    bad[BackupCheckCode] = "12,34";
    EXPECT_EQ(BackupValueCheck::CheckAll(bad), Problem::Separator);
    EXPECT_EQ(BackupValueCheck::CheckLine(BackupLineComposer::Compose(kInvoice)), Problem::None);
    EXPECT_EQ(BackupValueCheck::CheckLine(QStringLiteral("a,b\n")), Problem::LineBreak);
}

TEST(BackupDateText, WritesDatesInOneFixedForm)
{
    const QDate day(2019, 1, 2);
    EXPECT_EQ(BackupDateText::Format(day), "2019-01-02");
    EXPECT_EQ(BackupDateText::Format(QDateTime(day, QTime(0, 0))), "2019-01-02");
    EXPECT_EQ(BackupDateText::Format(QDateTime(day, QTime(0, 0, 0, 500))), "2019-01-02");
    EXPECT_EQ(BackupDateText::Format(QDateTime(day, QTime(13, 5, 9))), "2019-01-02 13:05:09");
    EXPECT_EQ(BackupDateText::Format(QDateTime(day, QTime(0, 0, 1))), "2019-01-02 00:00:01");
    EXPECT_TRUE(BackupDateText::Format(QDate()).isNull());
    EXPECT_TRUE(BackupDateText::Format(QDateTime()).isNull());
}

TEST(BackupFileName, NamesTheFileAfterTheLocalTime)
{
    const QString name = BackupFileName::For(QDateTime(QDate(2024, 3, 5), QTime(4, 7, 9)));
    EXPECT_EQ(name, "Backup20240305040709.dat");
    EXPECT_EQ(name.size(), 24);
    EXPECT_EQ(BackupFileName::For(QDateTime(QDate(2024, 12, 31), QTime(23, 59, 59))),
              "Backup20241231235959.dat");
}

TEST(BackupFileName, JoinsWithExactlyOneSlash)
{
    const QString name = "Backup20240305040709.dat";
    EXPECT_EQ(BackupFileName::Join("/home/clerk", name), "/home/clerk/" + name);
    EXPECT_EQ(BackupFileName::Join("/home/clerk/", name), "/home/clerk/" + name);
    EXPECT_EQ(BackupFileName::Join("/", name), "/" + name);
    EXPECT_EQ(BackupFileName::Join("", name), name);
}

// Lines made by the composer and the date helper come back field for field
// through a real file, dates and high Latin-1 characters included.
TEST(BackupFormat, LinesRoundTripThroughAFile)
{
    const QDateTime dates[] = {
        QDateTime(QDate(2019, 1, 2), QTime(0, 0)),
        QDateTime(QDate(2016, 12, 31), QTime(23, 59, 58)),
        QDateTime(QDate(2000, 2, 29), QTime(9, 0, 1)),
        QDateTime(QDate(1999, 10, 10), QTime(12, 0)),
    };
    QString highBytes;
    for (char16_t c = 0x80; c <= 0xFF; ++c)
        highBytes += QChar(c);

    QList<QStringList> written;
    for (const QDateTime& date : dates) {
        QStringList values = kInvoice;
        values[BackupDate] = BackupDateText::Format(date.date());
        values[BackupOpDate] = BackupDateText::Format(date);
        values[BackupValue] = highBytes;
        ASSERT_EQ(BackupValueCheck::CheckAll(values), Problem::None);
        written << values;
    }
    QStringList empties = kInvoice;
    empties[BackupTopType] = QString();
    empties[BackupDate] = BackupDateText::Format(QDate());
    written << empties;

    QTemporaryDir dir;
    const QString path = BackupFileName::Join(dir.path(), BackupFileName::For(dates[1]));
    BackupFileWriter writer;
    ASSERT_TRUE(writer.Open(path));
    for (const QStringList& values : written)
        ASSERT_TRUE(writer.WriteLine(BackupLineComposer::Compose(values)));
    ASSERT_TRUE(writer.Close());

    BackupFileReader reader;
    ASSERT_TRUE(reader.Open(path));
    QList<QStringList> read;
    QString line;
    while (reader.ReadLine(line)) {
        QStringList fields;
        ASSERT_TRUE(BackupLineParser::Parse(line, fields)) << line.toStdString();
        read << fields;
    }
    EXPECT_EQ(read, written);
    EXPECT_EQ(read.at(1).at(BackupOpDate), "2016-12-31 23:59:58");
}

} // namespace
