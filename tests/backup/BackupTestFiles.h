#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <csignal>
#include <sys/resource.h>

// Raw bytes in and out of files, so tests see exactly what lies on disk.
inline bool WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

inline QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Lets files of this process grow to `bytes` at most, as a full disk would:
// a write past the limit fails (SIGXFSZ ignored) instead of ending the
// process. Lifted by Lift() or at the end of the scope.
class FileSizeLimit {
public:
    explicit FileSizeLimit(qint64 bytes)
    {
        if (::getrlimit(RLIMIT_FSIZE, &m_saved) != 0)
            return;
        m_savedHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = m_saved;
        limited.rlim_cur = static_cast<rlim_t>(bytes);
        m_active = ::setrlimit(RLIMIT_FSIZE, &limited) == 0;
        if (!m_active)
            std::signal(SIGXFSZ, m_savedHandler);
    }
    ~FileSizeLimit() { Lift(); }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    bool IsActive() const { return m_active; }
    void Lift()
    {
        if (!m_active)
            return;
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_savedHandler);
        m_active = false;
    }

private:
    rlimit m_saved{};
    void (*m_savedHandler)(int) = SIG_DFL;
    bool m_active = false;
};
