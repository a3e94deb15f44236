#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>

// One run of a desk program of the tests: a clerk's desk in a process of
// its own, on the offscreen platform, whose report lines ("KIND\ttext") are
// collected as they come.
class DeskProcess {
public:
    explicit DeskProcess(QString program);
    ~DeskProcess();
    DeskProcess(const DeskProcess&) = delete;
    DeskProcess& operator=(const DeskProcess&) = delete;

    bool Start(const QStringList& arguments);
    // Waits until a report line starts with `prefix` (false when the
    // process ended or the time ran out first).
    bool WaitForLine(const QString& prefix, int timeoutMs);
    bool WaitForFinished(int timeoutMs);
    // Ends the process at once, as a power cut or a crash would.
    void Kill();
    qint64 ProcessId() const;
    bool ExitedNormally() const;

    // Report lines so far (kind, tab, text), in order.
    QStringList Lines();
    // When the first / last line starting with `prefix` came, in ms since
    // Start; -1 when none came.
    qint64 FirstTime(const QString& prefix);
    qint64 LastTime(const QString& prefix);
    // The texts of the report lines of one kind ("STATE", "MESSAGE", ...).
    QStringList Texts(const QString& kind);
    // Everything the desk wrote on its error output, for failure messages.
    QString Errors();

private:
    void Collect();

    QString m_program;
    QProcess m_process;
    QElapsedTimer m_clock;
    QByteArray m_pending;
    QStringList m_lines;
    QList<qint64> m_times;
};
