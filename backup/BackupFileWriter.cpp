#include "backup/BackupFileWriter.h"

#include "backup/BackupValueCheck.h"

#include <QFile>

#include <algorithm>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <system_error>
#include <unistd.h>

namespace {

QString SystemErrorText(int error)
{
    return QString::fromStdString(std::generic_category().message(error));
}

} // namespace

BackupFileWriter::~BackupFileWriter()
{
    Close();
}

bool BackupFileWriter::Open(const QString& path)
{
    if (m_nFd >= 0)
        return Fail(QStringLiteral("备份文件“%1”已经打开").arg(m_strPath));
    m_strPath = path;
    m_strError.clear();
    m_bWriteFailed = false;
    if (path.isEmpty())
        return Fail(QStringLiteral("备份文件路径为空"));

    const QByteArray nativePath = QFile::encodeName(path);
    int fd;
    do {
        fd = ::open(nativePath.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        return Fail(QStringLiteral("无法打开或创建备份文件“%1”：%2")
                        .arg(path, SystemErrorText(errno)));
    }
    // File systems without flock support are written unlocked.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        ::close(fd);
        return Fail(QStringLiteral("备份文件“%1”正被其他程序使用").arg(path));
    }
    m_nFd = fd;
    return true;
}

bool BackupFileWriter::WriteLine(const QString& line)
{
    return WriteLines(QStringList{line}) == 1;
}

qsizetype BackupFileWriter::WriteLines(const QStringList& lines)
{
    if (m_nFd < 0) {
        Fail(QStringLiteral("备份文件没有打开"));
        return 0;
    }
    if (m_bWriteFailed)
        return 0;

    QByteArray bytes;
    std::vector<qsizetype> lineEnds;
    lineEnds.reserve(static_cast<size_t>(lines.size()));
    QString refusal;
    for (const QString& line : lines) {
        const BackupValueCheck::Problem problem = BackupValueCheck::CheckLine(line);
        if (problem != BackupValueCheck::Problem::None) {
            refusal = QStringLiteral("这一行无法写入备份文件：%1").arg(BackupValueCheck::Describe(problem));
            break;
        }
        bytes += line.toLatin1();
        bytes.append("\r\n", 2);
        lineEnds.push_back(bytes.size());
    }
    const qsizetype written = WriteWholeLines(bytes, lineEnds);
    if (!refusal.isEmpty() && !m_bWriteFailed)
        Fail(refusal);
    return written;
}

qsizetype BackupFileWriter::WriteWholeLines(const QByteArray& bytes, const std::vector<qsizetype>& lineEnds)
{
    if (bytes.isEmpty())
        return 0;
    // Where these lines start, so that a partial write can be cut back to
    // the last whole line.
    const off_t start = ::lseek(m_nFd, 0, SEEK_END);
    qsizetype written = 0;
    int error = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(m_nFd, bytes.constData() + written,
                                  static_cast<size_t>(bytes.size() - written));
        if (n > 0) {
            written += n;
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            error = n < 0 ? errno : EIO;
            break;
        }
    }
    if (written == bytes.size())
        return static_cast<qsizetype>(lineEnds.size());

    m_bWriteFailed = true;
    const auto firstCut = std::upper_bound(lineEnds.begin(), lineEnds.end(), written);
    const qsizetype whole = firstCut - lineEnds.begin();
    const qsizetype keep = whole > 0 ? lineEnds[static_cast<size_t>(whole - 1)] : 0;
    QString message =
        QStringLiteral("写入备份文件“%1”失败：%2").arg(m_strPath, SystemErrorText(error));
    if (written > keep && (start < 0 || ::ftruncate(m_nFd, start + keep) != 0))
        message += QStringLiteral("（文件末尾可能留有不完整的一行）");
    Fail(message);
    return whole;
}

bool BackupFileWriter::Close()
{
    if (m_nFd < 0)
        return false;
    bool ok = !m_bWriteFailed;
    // Late write errors (delayed allocation, network file systems) show up
    // here; devices that cannot sync are not an error.
    if (::fsync(m_nFd) != 0 && errno != EINVAL && errno != EROFS && errno != ENOTSUP) {
        ok = Fail(QStringLiteral("保存备份文件“%1”失败：%2").arg(m_strPath, SystemErrorText(errno)));
    }
    // close() must not be retried on EINTR: the descriptor is gone either way.
    if (::close(m_nFd) != 0 && errno != EINTR) {
        ok = Fail(QStringLiteral("关闭备份文件“%1”失败：%2").arg(m_strPath, SystemErrorText(errno)));
    }
    m_nFd = -1;
    return ok;
}

bool BackupFileWriter::IsOpen() const
{
    return m_nFd >= 0;
}

QString BackupFileWriter::ErrorString() const
{
    return m_strError;
}

bool BackupFileWriter::Fail(const QString& message)
{
    m_strError = message;
    return false;
}
