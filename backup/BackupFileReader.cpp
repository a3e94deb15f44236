#include "backup/BackupFileReader.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

constexpr qsizetype kChunkSize = 64 * 1024;

QString SystemErrorText(int error)
{
    return QString::fromStdString(std::generic_category().message(error));
}

} // namespace

BackupFileReader::~BackupFileReader()
{
    Close();
}

bool BackupFileReader::Open(const QString& path)
{
    Close();
    m_strPath = path;
    m_strError.clear();
    m_bFailed = false;
    m_bAtEnd = false;
    m_nSize = 0;
    m_nCharactersRead = 0;
    m_buffer.clear();
    m_nBufferPos = 0;
    if (path.isEmpty())
        return Fail(QStringLiteral("备份文件路径为空"));

    // Non-blocking, so that a named pipe cannot stall the open.
    const QByteArray nativePath = QFile::encodeName(path);
    int fd;
    do {
        fd = ::open(nativePath.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return Fail(QStringLiteral("无法打开备份文件“%1”：%2").arg(path, SystemErrorText(errno)));

    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        ::close(fd);
        return Fail(QStringLiteral("无法打开备份文件“%1”：%2").arg(path, SystemErrorText(error)));
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        return Fail(QStringLiteral("无法打开备份文件“%1”：它不是一个普通文件").arg(path));
    }
    // File systems without flock support are read unlocked.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        ::close(fd);
        return Fail(QStringLiteral("备份文件“%1”正被其他程序使用").arg(path));
    }
    m_nFd = fd;
    m_nSize = info.st_size;
    return true;
}

void BackupFileReader::Close()
{
    if (m_nFd >= 0)
        ::close(m_nFd);
    m_nFd = -1;
}

bool BackupFileReader::IsOpen() const
{
    return m_nFd >= 0;
}

qint64 BackupFileReader::Size() const
{
    return m_nSize;
}

bool BackupFileReader::ReadLine(QString& line)
{
    line.clear();
    if (m_nFd < 0 || m_bFailed)
        return false;

    // Bytes of a line that runs over the end of the buffer.
    QByteArray pending;
    bool readAnything = false;
    for (;;) {
        if (m_nBufferPos >= m_buffer.size()) {
            if (m_bAtEnd || !FillBuffer()) {
                if (m_bFailed)
                    return false;
                break;
            }
        }
        const char* begin = m_buffer.constData() + m_nBufferPos;
        const qsizetype available = m_buffer.size() - m_nBufferPos;
        const auto* lineFeed = static_cast<const char*>(std::memchr(begin, '\n', size_t(available)));
        if (!lineFeed) {
            pending.append(begin, available);
            m_nBufferPos = m_buffer.size();
            readAnything = true;
            continue;
        }

        const qsizetype length = lineFeed - begin;
        m_nBufferPos += length + 1;
        QLatin1StringView text;
        if (pending.isEmpty()) {
            text = QLatin1StringView(begin, length);
        } else {
            pending.append(begin, length);
            text = QLatin1StringView(pending);
        }
        if (text.endsWith(QLatin1Char('\r')))
            text.chop(1);
        line = text;
        m_nCharactersRead += line.size();
        return true;
    }

    // End of file: whatever followed the last line end is a line of its own.
    if (!readAnything)
        return false;
    line = QLatin1StringView(pending);
    m_nCharactersRead += line.size();
    return true;
}

qint64 BackupFileReader::CharactersRead() const
{
    return m_nCharactersRead;
}

bool BackupFileReader::HasFailed() const
{
    return m_bFailed;
}

QString BackupFileReader::ErrorString() const
{
    return m_strError;
}

bool BackupFileReader::FillBuffer()
{
    m_buffer.resize(kChunkSize);
    m_nBufferPos = 0;
    ssize_t n;
    do {
        n = ::read(m_nFd, m_buffer.data(), size_t(kChunkSize));
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        const int error = errno;
        m_buffer.clear();
        m_bFailed = true;
        return Fail(QStringLiteral("读取备份文件“%1”失败：%2").arg(m_strPath, SystemErrorText(error)));
    }
    m_buffer.resize(n);
    if (n == 0)
        m_bAtEnd = true;
    return n > 0;
}

bool BackupFileReader::Fail(const QString& message)
{
    m_strError = message;
    return false;
}
