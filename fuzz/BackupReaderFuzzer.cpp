// The backup file reader and line parser on arbitrary file contents. The
// bytes lie in an in-memory file that the reader opens by path, as it opens
// a clerk's backup file. The first byte may put a long first line in front
// so that the fuzzed bytes fall across the reader's chunk boundary.
#include "backup/BackupField.h"
#include "backup/BackupFileReader.h"
#include "backup/BackupLineParser.h"
#include "fuzz/FuzzCheck.h"
#include "text/SplitFields.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <sys/mman.h>
#include <unistd.h>

namespace {

// The reader reads 64 KiB at a time.
constexpr qsizetype kChunk = 64 * 1024;

int MemoryFile()
{
    static const int fd = memfd_create("backup", MFD_CLOEXEC);
    FUZZ_CHECK(fd >= 0);
    return fd;
}

// The lines of `bytes` as the format defines them: LF ends a line, a CR
// right before it belongs to the line end, and text after the last LF is a
// line of its own, a CR at its end included.
QStringList ExpectedLines(const QByteArray& bytes)
{
    QStringList lines;
    QList<QByteArray> pieces = bytes.split('\n');
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        QByteArray piece = pieces[i];
        const bool endedByLineFeed = i + 1 < pieces.size();
        if (!endedByLineFeed && piece.isEmpty())
            break;
        if (endedByLineFeed && piece.endsWith('\r'))
            piece.chop(1);
        lines.append(QString::fromLatin1(piece));
    }
    return lines;
}

void CheckParsedLine(const QString& line)
{
    QStringList fields{QStringLiteral("stale")};
    const bool parsed = BackupLineParser::Parse(line, fields);
    QStringList split;
    const bool enough = SplitFields(line.trimmed(), QStringLiteral(","), split, 1) && split.size() >= BackupFieldCount;
    FUZZ_CHECK(parsed == enough);
    if (!parsed) {
        FUZZ_CHECK(fields.isEmpty());
        return;
    }
    FUZZ_CHECK(fields.size() == BackupFieldCount);
    for (qsizetype i = 0; i < BackupFieldCount; ++i)
        FUZZ_CHECK(fields[i] == split[i] && !fields[i].contains(QLatin1Char(',')));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes;
    bytes.reserve(kChunk + static_cast<qsizetype>(size) + 8);
    if (size > 0 && (data[0] & 0x0f) == 1) {
        // Lines that end a little before or after the chunk boundary. Short
        // lines keep each run cheap: large blocks are slow under the sanitizer.
        const qsizetype length = kChunk - 4 + (data[0] >> 5);
        static const QByteArray shortLine = QByteArray(1023, 'x') + '\n';
        while (bytes.size() + shortLine.size() < length)
            bytes += shortLine;
        bytes += QByteArray(length - bytes.size(), 'x');
        bytes += (data[0] & 0x10) != 0 ? "\r\n" : "\n";
    }
    if (size > 1)
        bytes.append(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));

    const int fd = MemoryFile();
    FUZZ_CHECK(ftruncate(fd, 0) == 0);
    FUZZ_CHECK(pwrite(fd, bytes.constData(), static_cast<size_t>(bytes.size()), 0) == bytes.size());

    BackupFileReader reader;
    FUZZ_CHECK(reader.Open(QStringLiteral("/proc/self/fd/%1").arg(fd)));
    FUZZ_CHECK(reader.Size() == bytes.size());

    QStringList lines;
    QString line;
    qint64 characters = 0;
    while (reader.ReadLine(line)) {
        FUZZ_CHECK(!line.contains(QLatin1Char('\n')));
        characters += line.size();
        FUZZ_CHECK(reader.CharactersRead() == characters);
        lines.append(line);
    }
    FUZZ_CHECK(!reader.HasFailed());
    FUZZ_CHECK(characters <= reader.Size());
    FUZZ_CHECK(lines == ExpectedLines(bytes));
    FUZZ_CHECK(!reader.ReadLine(line) && line.isEmpty());

    for (const QString& read : lines)
        CheckParsedLine(read);
    return 0;
}
