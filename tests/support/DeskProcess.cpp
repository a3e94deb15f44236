#include "tests/support/DeskProcess.h"

#include <QDeadlineTimer>

#include <signal.h>

#include <utility>

DeskProcess::DeskProcess(QString program) : m_program(std::move(program))
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    m_process.setProcessEnvironment(environment);
}

DeskProcess::~DeskProcess()
{
    if (m_process.state() != QProcess::NotRunning) {
        Kill();
        m_process.waitForFinished(10000);
    }
}

bool DeskProcess::Start(const QStringList& arguments)
{
    m_clock.start();
    m_process.start(m_program, arguments);
    return m_process.waitForStarted(10000);
}

void DeskProcess::Collect()
{
    m_pending += m_process.readAllStandardOutput();
    qsizetype end;
    while ((end = m_pending.indexOf('\n')) >= 0) {
        m_lines << QString::fromUtf8(m_pending.left(end));
        m_times << m_clock.elapsed();
        m_pending.remove(0, end + 1);
    }
}

bool DeskProcess::WaitForLine(const QString& prefix, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        Collect();
        for (const QString& line : std::as_const(m_lines)) {
            if (line.startsWith(prefix))
                return true;
        }
        if (m_process.state() == QProcess::NotRunning || deadline.hasExpired())
            return false;
        m_process.waitForReadyRead(static_cast<int>(qMin<qint64>(deadline.remainingTime(), 100)));
    }
}

bool DeskProcess::WaitForFinished(int timeoutMs)
{
    const bool finished = m_process.state() == QProcess::NotRunning || m_process.waitForFinished(timeoutMs);
    Collect();
    return finished;
}

void DeskProcess::Kill()
{
    // SIGKILL: the desk gets no chance to finish or clean up anything.
    if (m_process.state() != QProcess::NotRunning)
        ::kill(static_cast<pid_t>(m_process.processId()), SIGKILL);
}

qint64 DeskProcess::ProcessId() const
{
    return m_process.processId();
}

bool DeskProcess::ExitedNormally() const
{
    return m_process.state() == QProcess::NotRunning && m_process.exitStatus() == QProcess::NormalExit
        && m_process.exitCode() == 0;
}

QStringList DeskProcess::Lines()
{
    Collect();
    return m_lines;
}

qint64 DeskProcess::FirstTime(const QString& prefix)
{
    Collect();
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i].startsWith(prefix))
            return m_times[i];
    }
    return -1;
}

qint64 DeskProcess::LastTime(const QString& prefix)
{
    Collect();
    for (qsizetype i = m_lines.size() - 1; i >= 0; --i) {
        if (m_lines[i].startsWith(prefix))
            return m_times[i];
    }
    return -1;
}

QStringList DeskProcess::Texts(const QString& kind)
{
    QStringList texts;
    const QString prefix = kind + QLatin1Char('\t');
    for (const QString& line : Lines()) {
        if (line.startsWith(prefix))
            texts << line.mid(prefix.size());
    }
    return texts;
}

QString DeskProcess::Errors()
{
    return QString::fromLocal8Bit(m_process.readAllStandardError());
}
