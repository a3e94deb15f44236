#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

// Appends lines to a backup file as 8-bit text with CR LF line ends.
// A line reaches the file whole or not at all: a write that fails part-way
// is cut back off the file and reported. After a failed write the writer
// refuses every further line, so a file never has a gap in its middle.
// Other processes cannot read the file while it is open (an exclusive
// advisory lock, which BackupFileReader respects).
class BackupFileWriter {
public:
    BackupFileWriter() = default;
    ~BackupFileWriter();
    BackupFileWriter(const BackupFileWriter&) = delete;
    BackupFileWriter& operator=(const BackupFileWriter&) = delete;

    // Opens the file for appending, creating it when it does not exist.
    // False, with ErrorString set, when it can be neither opened nor created
    // (missing folder, no permission, a folder path) or is locked by another
    // process.
    bool Open(const QString& path);
    // Writes the line followed by CR LF, each character as the byte of its
    // code. False, writing nothing, when the file is not open, an earlier
    // write failed, or the line holds a line break or a character above
    // U+00FF; false when the write itself fails (disk full, I/O error).
    bool WriteLine(const QString& line);
    // Writes the lines in order, as WriteLine would one by one, but with as
    // few writes to the file as it can. Returns how many of them reached the
    // file, each whole: all of them, or fewer when one is refused (it and
    // those after it are not written) or a write fails (the file keeps the
    // whole lines before the failure and nothing of the rest).
    qsizetype WriteLines(const QStringList& lines);
    // Forces the data to disk and closes the file. True only when the file
    // was open, every line was written and closing raised no error.
    bool Close();

    bool IsOpen() const;
    // The latest failure, for the clerk; empty when nothing failed.
    QString ErrorString() const;

private:
    // Writes `bytes`, whose lines end at the offsets `lineEnds`; the number
    // of lines that reached the file whole.
    qsizetype WriteWholeLines(const QByteArray& bytes, const std::vector<qsizetype>& lineEnds);
    bool Fail(const QString& message);

    int m_nFd = -1;
    bool m_bWriteFailed = false;
    QString m_strPath;
    QString m_strError;
};
