#include "backup/BackupFileWriter.h"

#include "backup/BackupValueCheck.h"

#include <QFile>

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
    if (m_nFd < 0)
        return Fail(QStringLiteral("备份文件没有打开"));
    if (m_bWriteFailed)
        return false;
    const BackupValueCheck::Problem problem = BackupValueCheck::CheckLine(line);
    if (problem != BackupValueCheck::Problem::None) {
        return Fail(QStringLiteral("这一行无法写入备份文件：%1")
                        .arg(BackupValueCheck::Describe(problem)));
    }

    QByteArray bytes = line.toLatin1();
    bytes.append("\r\n", 2);

    // Where this line starts, so that a partial write can be cut back off.
    const off_t lineStart = ::lseek(m_nFd, 0, SEEK_END);
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
        return true;

    m_bWriteFailed = true;
    QString message =
        QStringLiteral("写入备份文件“%1”失败：%2").arg(m_strPath, SystemErrorText(error));
    if (written > 0 && (lineStart < 0 || ::ftruncate(m_nFd, lineStart) != 0))
        message += QStringLiteral("（文件末尾可能留有不完整的一行）");
    return Fail(message);
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
