#include "backup/BackupFileWriter.h"
#include "tests/backup/BackupTestFiles.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(BackupFileWriter, CreatesAFileWithCrLfLineEnds)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("new.dat");
    BackupFileWriter writer;
    ASSERT_TRUE(writer.Open(path)) << writer.ErrorString().toStdString();
    EXPECT_TRUE(writer.WriteLine("a,b"));
    EXPECT_TRUE(writer.WriteLine(""));
    EXPECT_TRUE(writer.WriteLine(QString::fromLatin1("\xE9\xFF")));
    EXPECT_TRUE(writer.Close()) << writer.ErrorString().toStdString();
    EXPECT_TRUE(writer.ErrorString().isEmpty());
    EXPECT_EQ(ReadBytes(path), QByteArray("a,b\r\n\r\n\xE9\xFF\r\n"));
}

TEST(BackupFileWriter, AppendsToAnExistingFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("old.dat");
    ASSERT_TRUE(WriteBytes(path, "first\r\n"));
    BackupFileWriter writer;
    ASSERT_TRUE(writer.Open(path));
    ASSERT_TRUE(writer.WriteLine("second"));
    ASSERT_TRUE(writer.Close());
    EXPECT_EQ(ReadBytes(path), QByteArray("first\r\nsecond\r\n"));
}

TEST(BackupFileWriter, ReportsPathsThatCannotBeOpened)
{
    QTemporaryDir dir;
    const QString paths[] = {dir.filePath("no/such/folder/x.dat"), dir.path(), QString()};
    for (const QString& path : paths) {
        BackupFileWriter writer;
        EXPECT_FALSE(writer.Open(path)) << path.toStdString();
        EXPECT_FALSE(writer.ErrorString().isEmpty()) << path.toStdString();
        EXPECT_FALSE(writer.IsOpen());
        EXPECT_FALSE(writer.WriteLine("a"));
        EXPECT_FALSE(writer.Close());
    }
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("no")));
}

TEST(BackupFileWriter, RefusesLinesBeforeOpening)
{
    BackupFileWriter writer;
    EXPECT_FALSE(writer.WriteLine("a"));
    EXPECT_FALSE(writer.ErrorString().isEmpty());
}

TEST(BackupFileWriter, ReportsAFullDisk)
{
    BackupFileWriter writer;
    ASSERT_TRUE(writer.Open("/dev/full")) << writer.ErrorString().toStdString();
    EXPECT_FALSE(writer.WriteLine("a,b"));
    EXPECT_FALSE(writer.ErrorString().isEmpty());
    EXPECT_FALSE(writer.WriteLine("c,d")) << "no line may follow a failed one";
    EXPECT_FALSE(writer.Close());
}

// A line that does not fit is cut back off: the file keeps only whole lines.
TEST(BackupFileWriter, LeavesNoHalfLineWhenTheDiskFillsUp)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("limited.dat");
    FileSizeLimit limit(12); // room for one line and a half
    ASSERT_TRUE(limit.IsActive());

    BackupFileWriter writer;
    const bool opened = writer.Open(path);
    const bool firstWritten = writer.WriteLine("12345678");
    const bool secondWritten = writer.WriteLine("abcdefgh");
    const bool thirdWritten = writer.WriteLine("x");
    writer.Close();

    limit.Lift();

    ASSERT_TRUE(opened);
    EXPECT_TRUE(firstWritten);
    EXPECT_FALSE(secondWritten);
    EXPECT_FALSE(thirdWritten);
    EXPECT_FALSE(writer.ErrorString().isEmpty());
    EXPECT_EQ(ReadBytes(path), QByteArray("12345678\r\n"));
}

TEST(BackupFileWriter, RefusesLinesItCannotWriteFaithfullyAndGoesOn)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("mixed.dat");
    BackupFileWriter writer;
    ASSERT_TRUE(writer.Open(path));
    EXPECT_FALSE(writer.WriteLine(QStringLiteral("a,发票")));
    EXPECT_FALSE(writer.ErrorString().isEmpty());
    EXPECT_FALSE(writer.WriteLine("a\nb"));
    EXPECT_FALSE(writer.WriteLine("a\rb"));
    EXPECT_TRUE(writer.WriteLine("c,d"));
    EXPECT_TRUE(writer.Close());
    EXPECT_EQ(ReadBytes(path), QByteArray("c,d\r\n"));
}

TEST(BackupFileWriter, WritesManyLinesUpToTheFirstItRefuses)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("many.dat");
    BackupFileWriter writer;
    ASSERT_TRUE(writer.Open(path));
    EXPECT_EQ(writer.WriteLines({"a", "b,c", "x\ny", "d"}), 2);
    EXPECT_FALSE(writer.ErrorString().isEmpty());
    EXPECT_EQ(writer.WriteLines({"d", "e"}), 2) << "a refused line is no failure of the file";
    EXPECT_TRUE(writer.Close());
    EXPECT_EQ(ReadBytes(path), QByteArray("a\r\nb,c\r\nd\r\ne\r\n"));
}

// The disk fills up in the middle of a write of several lines: the file
// keeps the whole lines that fitted, and the writer says how many.
TEST(BackupFileWriter, KeepsTheWholeLinesOfAManyLineWriteThatFailsPartWay)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("limited.dat");
    FileSizeLimit limit(25); // two lines and a half
    ASSERT_TRUE(limit.IsActive());

    BackupFileWriter writer;
    const bool opened = writer.Open(path);
    const qsizetype written = writer.WriteLines({"12345678", "abcdefgh", "ijklmnop", "x"});
    const qsizetype afterFailure = writer.WriteLines({"y"});
    writer.Close();

    limit.Lift();

    ASSERT_TRUE(opened);
    EXPECT_EQ(written, 2);
    EXPECT_EQ(afterFailure, 0);
    EXPECT_FALSE(writer.ErrorString().isEmpty());
    EXPECT_EQ(ReadBytes(path), QByteArray("12345678\r\nabcdefgh\r\n"));
}

} // namespace
