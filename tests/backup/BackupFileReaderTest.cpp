#include "backup/BackupFileReader.h"
#include "backup/BackupFileWriter.h"
#include "tests/backup/BackupTestFiles.h"

#include <QStringList>
#include <QTemporaryDir>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <ostream>
#include <sys/file.h>
#include <unistd.h>

namespace {

QStringList ReadAllLines(BackupFileReader& reader)
{
    QStringList lines;
    QString line;
    while (reader.ReadLine(line))
        lines << line;
    return lines;
}

struct ReadCase {
    const char* name;
    QByteArray bytes;
    QStringList expected;
};

void PrintTo(const ReadCase& c, std::ostream* os)
{
    *os << c.name;
}

class BackupFileReaderLines : public ::testing::TestWithParam<ReadCase> {};

TEST_P(BackupFileReaderLines, YieldsTheLinesOfTheFile)
{
    const ReadCase& c = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath("lines.dat");
    ASSERT_TRUE(WriteBytes(path, c.bytes));

    BackupFileReader reader;
    ASSERT_TRUE(reader.Open(path)) << reader.ErrorString().toStdString();
    EXPECT_EQ(reader.Size(), c.bytes.size());
    EXPECT_EQ(ReadAllLines(reader), c.expected);
    EXPECT_FALSE(reader.HasFailed());

    qint64 characters = 0;
    for (const QString& line : c.expected)
        characters += line.size();
    EXPECT_EQ(reader.CharactersRead(), characters);
}

INSTANTIATE_TEST_SUITE_P(
    Table, BackupFileReaderLines,
    ::testing::Values(
        ReadCase{"CrLf", "a,b\r\nc,d\r\n", {"a,b", "c,d"}},
        ReadCase{"LfAlone", "a,b\nc,d\n", {"a,b", "c,d"}},
        ReadCase{"MixedLineEnds", "a\r\nb\nc\r\n", {"a", "b", "c"}},
        ReadCase{"LastLineWithoutLineEnd", "a\r\nb", {"a", "b"}},
        ReadCase{"BlankLineInside", "a\r\n\r\nb\r\n", {"a", "", "b"}},
        ReadCase{"ExtraLineEndAtEnd", "a\r\nb\r\n\r\n", {"a", "b", ""}},
        ReadCase{"OnlyALineEnd", "\r\n", {""}},
        ReadCase{"EmptyFile", "", {}},
        ReadCase{"CrNotBeforeLfStaysInTheLine", "a\rb\r\nc\r", {"a\rb", "c\r"}},
        ReadCase{"BlanksKeptForTheParser", "  a , b  \r\n", {"  a , b  "}},
        ReadCase{"ByteOrderMarkIsText", "\xEF\xBB\xBF" "a\r\n", {QString::fromLatin1("\xEF\xBB\xBF" "a")}},
        ReadCase{"HighBytesAreLatin1", "\x80\xA0\xE9\xFF\r\n", {QString::fromLatin1("\x80\xA0\xE9\xFF")}},
        ReadCase{"NulByteIsACharacter", QByteArray("a\0b\n", 4), {QString(QChar(u'a')) + QChar(0) + QChar(u'b')}}),
    [](const ::testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

// Lines longer than the read chunk, and a CR LF split across two chunks.
TEST(BackupFileReader, ReadsLinesAcrossChunkBoundaries)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("long.dat");
    const QByteArray longLine(65535, 'x');
    const QByteArray hugeLine(300000, 'y');
    ASSERT_TRUE(WriteBytes(path, longLine + "\r\n" + hugeLine + "\r\nz"));

    BackupFileReader reader;
    ASSERT_TRUE(reader.Open(path));
    EXPECT_EQ(ReadAllLines(reader),
              (QStringList{QString::fromLatin1(longLine), QString::fromLatin1(hugeLine), "z"}));
    EXPECT_EQ(reader.CharactersRead(), longLine.size() + hugeLine.size() + 1);
}

TEST(BackupFileReader, ReadsAHundredThousandLines)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("many.dat");
    QByteArray bytes;
    constexpr int kLines = 100000;
    for (int i = 0; i < kLines; ++i)
        bytes += "01,04," + QByteArray::number(i) + ",4200161350,165.00,2016-05-01,4811,1,,2024-01-02,1\r\n";
    ASSERT_TRUE(WriteBytes(path, bytes));

    BackupFileReader reader;
    ASSERT_TRUE(reader.Open(path));
    QString line;
    int count = 0;
    bool ordered = true;
    while (reader.ReadLine(line)) {
        ordered = ordered && line.section(',', 2, 2) == QString::number(count);
        ++count;
    }
    EXPECT_EQ(count, kLines);
    EXPECT_TRUE(ordered);
    EXPECT_EQ(reader.CharactersRead(), bytes.size() - 2 * kLines);
}

TEST(BackupFileReader, RefusesWhatCannotBeOpened)
{
    QTemporaryDir dir;
    BackupFileReader reader;
    EXPECT_FALSE(reader.Open(dir.filePath("missing.dat")));
    EXPECT_FALSE(reader.ErrorString().isEmpty());
    EXPECT_FALSE(reader.Open(dir.path()));
    EXPECT_FALSE(reader.ErrorString().isEmpty());
    EXPECT_FALSE(reader.Open(QString()));
    QString line;
    EXPECT_FALSE(reader.ReadLine(line));
}

// flock conflicts between separate open file descriptions, so a second
// descriptor in this process stands in for another program.
TEST(BackupFileReader, RefusesAFileAnotherProgramHoldsLocked)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("held.dat");
    ASSERT_TRUE(WriteBytes(path, "a\r\n"));
    const int other = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    ASSERT_GE(other, 0);
    ASSERT_EQ(::flock(other, LOCK_SH | LOCK_NB), 0);

    BackupFileReader reader;
    EXPECT_FALSE(reader.Open(path));
    EXPECT_FALSE(reader.ErrorString().isEmpty());

    ::close(other);
    EXPECT_TRUE(reader.Open(path)) << reader.ErrorString().toStdString();
}

TEST(BackupFileReader, RefusesAFileBeingWritten)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("busy.dat");
    BackupFileWriter writer;
    ASSERT_TRUE(writer.Open(path));

    BackupFileReader reader;
    EXPECT_FALSE(reader.Open(path));
    ASSERT_TRUE(writer.Close());
    EXPECT_TRUE(reader.Open(path));
}

} // namespace
