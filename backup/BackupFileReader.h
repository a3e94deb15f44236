#pragma once

#include <QByteArray>
#include <QString>

// Reads a backup file line by line as 8-bit text: each byte becomes the
// character of the same code (U+0000 to U+00FF), with no byte-order mark
// handling. LF and CR LF both end a line and never belong to its text; an
// empty line between two line ends is a line, and so is a last line without
// a line end. Reads in large chunks, so lines may be of any length.
class BackupFileReader {
public:
    BackupFileReader() = default;
    ~BackupFileReader();
    BackupFileReader(const BackupFileReader&) = delete;
    BackupFileReader& operator=(const BackupFileReader&) = delete;

    // Opens a regular file for reading and takes an exclusive advisory lock
    // on it. False, with ErrorString set, when the file is missing, cannot
    // be read, is not a regular file, or another process holds it locked
    // (as BackupFileWriter does while it writes).
    bool Open(const QString& path);
    void Close();
    bool IsOpen() const;

    // The file's size in bytes when it was opened.
    qint64 Size() const;
    // The next line, without its line end; its length is the number of
    // characters it took from the file apart from the line end. False at the
    // end of the file, and when reading fails (then HasFailed is true).
    bool ReadLine(QString& line);
    // Characters of all lines returned so far, line ends not counted.
    qint64 CharactersRead() const;

    bool HasFailed() const;
    // The latest failure, for the clerk; empty when nothing failed.
    QString ErrorString() const;

private:
    bool FillBuffer();
    bool Fail(const QString& message);

    int m_nFd = -1;
    qint64 m_nSize = 0;
    qint64 m_nCharactersRead = 0;
    QByteArray m_buffer;
    qsizetype m_nBufferPos = 0;
    bool m_bAtEnd = false;
    bool m_bFailed = false;
    QString m_strPath;
    QString m_strError;
};
