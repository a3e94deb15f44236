#include "tests/support/PostgreSqlServer.h"

#include "store/engine/ConnectionString.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QVersionNumber>

#include <arpa/inet.h>
#include <cerrno>
#include <csignal>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace {

constexpr int kProgramTimeoutMilliseconds = 120000;
const QString kFolderPrefix = QStringLiteral("kestrin-pg-");
const QString kOwnerFile = QStringLiteral("test-program.pid");
constexpr int kStartAttempts = 5;

// Stops the cluster once every test has run, while the application object
// still lives.
class ServerEnvironment : public ::testing::Environment {
public:
    void TearDown() override
    {
        if (s_started)
            PostgreSqlServer::Instance().Stop();
    }
    static inline bool s_started = false;
};

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new ServerEnvironment);

QString Quoted(const QString& literal)
{
    return QLatin1Char('\'') + QString(literal).replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
}

} // namespace

int PostgreSqlServer::FreePort()
{
    const int probe = socket(AF_INET, SOCK_STREAM, 0);
    if (probe < 0)
        return 0;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0
        && getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    close(probe);
    return port;
}

PostgreSqlServer& PostgreSqlServer::Instance()
{
    static PostgreSqlServer server;
    return server;
}

// As root the server runs as another user, who must be able to reach the
// folder: /tmp is open to everyone, a TMPDIR under /root is not.
QString PostgreSqlServer::TemporaryRoot()
{
    return geteuid() == 0 ? QStringLiteral("/tmp") : QDir::tempPath();
}

PostgreSqlServer::PostgreSqlServer()
    : m_directory(TemporaryRoot() + QStringLiteral("/") + kFolderPrefix + QStringLiteral("XXXXXX"))
{
    ServerEnvironment::s_started = true;
    // libpq takes what a connection string leaves out (even a host address)
    // from PG* variables: the tests' connections go nowhere but here.
    for (const QString& name : QProcessEnvironment::systemEnvironment().keys()) {
        if (name.startsWith(QLatin1String("PG")))
            qunsetenv(name.toLocal8Bit().constData());
    }
    Start();
}

PostgreSqlServer::~PostgreSqlServer()
{
    Stop();
}

bool PostgreSqlServer::Start()
{
    if (!m_directory.isValid()) {
        m_error = QStringLiteral("no temporary folder: ") + m_directory.errorString();
        return false;
    }
    if (!FindPrograms() || !PrepareDirectory())
        return false;
    StopOrphans();
    if (!InitCluster() || !StartOnFreePort())
        return false;
    m_running = true;
    QString output;
    if (!Administer(QStringLiteral("postgres"),
                    QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD %2").arg(ClerkUser, Quoted(ClerkPassword)),
                    &output)) {
        m_error = QStringLiteral("cannot create the clerk's login: ") + output;
        Stop();
        return false;
    }
    return true;
}

bool PostgreSqlServer::FindPrograms()
{
    // Debian keeps the server programs per major version, off the PATH.
    const QDir root(QStringLiteral("/usr/lib/postgresql"));
    QVersionNumber best;
    for (const QString& version : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString bin = root.filePath(version + QStringLiteral("/bin"));
        const QVersionNumber number = QVersionNumber::fromString(version);
        if (QFile::exists(bin + QStringLiteral("/initdb")) && QFile::exists(bin + QStringLiteral("/pg_ctl"))
            && QFile::exists(bin + QStringLiteral("/psql")) && (m_binDirectory.isEmpty() || number > best)) {
            m_binDirectory = bin;
            best = number;
        }
    }
    if (m_binDirectory.isEmpty())
        m_error = QStringLiteral("the PostgreSQL server programs are not in /usr/lib/postgresql/*/bin; "
                                 "tools/setup.sh installs them (packages postgresql, libpq-dev)");
    return !m_binDirectory.isEmpty();
}

// A test program that crashed left its server running. Each folder names
// the program that made it; the servers of programs that are gone are
// stopped and their folders removed.
void PostgreSqlServer::StopOrphans() const
{
    const QDir root(TemporaryRoot());
    for (const QFileInfo& folder : root.entryInfoList({kFolderPrefix + QLatin1Char('*')}, QDir::Dirs)) {
        if ((geteuid() != 0 && folder.ownerId() != geteuid()) || folder.absoluteFilePath() == m_directory.path())
            continue;
        QFile owner(folder.absoluteFilePath() + QLatin1Char('/') + kOwnerFile);
        if (!owner.open(QIODevice::ReadOnly))
            continue;
        const pid_t pid = owner.readAll().trimmed().toInt();
        if (pid <= 0 || kill(pid, 0) == 0 || errno != ESRCH)
            continue;
        const QString data = folder.absoluteFilePath() + QStringLiteral("/data");
        if (QFile::exists(data + QStringLiteral("/postmaster.pid")))
            Execute(m_binDirectory + QStringLiteral("/pg_ctl"),
                    {QStringLiteral("-D"), data, QStringLiteral("-m"), QStringLiteral("immediate"),
                     QStringLiteral("-w"), QStringLiteral("stop")},
                    true);
        QDir(folder.absoluteFilePath()).removeRecursively();
    }
}

bool PostgreSqlServer::PrepareDirectory()
{
    m_dataDirectory = m_directory.filePath(QStringLiteral("data"));
    QFile owner(m_directory.filePath(kOwnerFile));
    if (!owner.open(QIODevice::WriteOnly) || owner.write(QByteArray::number(getpid())) <= 0) {
        m_error = QStringLiteral("cannot write ") + owner.fileName();
        return false;
    }
    owner.close();
    if (geteuid() != 0)
        return true;
    const passwd* user = getpwnam("postgres");
    if (!user)
        user = getpwnam("nobody");
    if (!user) {
        m_error = QStringLiteral("running as root, and neither a postgres nor a nobody user exists to run the server");
        return false;
    }
    m_serverUser = QString::fromLocal8Bit(user->pw_name);
    const QByteArray path = QFile::encodeName(m_directory.path());
    if (chown(path.constData(), user->pw_uid, user->pw_gid) != 0 || chmod(path.constData(), 0700) != 0) {
        m_error = QStringLiteral("cannot hand %1 to the user %2").arg(m_directory.path(), m_serverUser);
        return false;
    }
    return true;
}

// initdb takes seconds, and ctest runs each test in a process of its own:
// the first process keeps its fresh cluster in the build folder, and the
// others start from a copy of it.
bool PostgreSqlServer::InitCluster()
{
    const QString passwordFile = m_directory.filePath(QStringLiteral("admin-password"));
    // Only the test program (through the folder's socket) gets in without a
    // password; every login over TCP needs one.
    const QStringList options = {QStringLiteral("-U"), AdminUser, QStringLiteral("--auth-local=trust"),
                                 QStringLiteral("--auth-host=scram-sha-256"), QStringLiteral("--encoding=UTF8"),
                                 QStringLiteral("--no-locale"), QStringLiteral("--no-sync")};
    const QByteArray key = QCryptographicHash::hash((m_binDirectory + options.join(QLatin1Char(' '))).toUtf8(),
                                                    QCryptographicHash::Sha256)
                               .toHex()
                               .left(16);
    const QString cache = QStringLiteral(KESTRIN_TEST_CACHE_DIR "/postgresql-") + QString::fromLatin1(key);
    if (QFile::exists(cache + QStringLiteral("/PG_VERSION")) && CopyCluster(cache, m_dataDirectory))
        return true;

    {
        QFile file(passwordFile);
        if (!file.open(QIODevice::WriteOnly)) {
            m_error = QStringLiteral("cannot write ") + passwordFile;
            return false;
        }
        file.write("admin\n");
    }
    if (!HandToServerUser(passwordFile))
        return false;
    const Run init = Execute(m_binDirectory + QStringLiteral("/initdb"),
                             QStringList{QStringLiteral("-D"), m_dataDirectory,
                                         QStringLiteral("--pwfile=") + passwordFile} + options,
                             true);
    QFile::remove(passwordFile);
    if (!init.finished || init.exitCode != 0) {
        m_error = QStringLiteral("initdb failed: ") + init.output;
        return false;
    }
    KeepInCache(cache);
    return true;
}

bool PostgreSqlServer::CopyCluster(const QString& from, const QString& to)
{
    const Run copy = Execute(QStringLiteral("cp"), {QStringLiteral("-a"), from, to}, false);
    if (!copy.finished || copy.exitCode != 0 || !HandToServerUser(to)) {
        QDir(to).removeRecursively();
        return false;
    }
    return true;
}

// Best effort: a cluster that cannot be kept is made again next time. It is
// copied beside its place and renamed into it, so a cluster in the cache is
// always whole, and of two processes the second simply loses the race.
void PostgreSqlServer::KeepInCache(const QString& cache) const
{
    if (!QDir().mkpath(QFileInfo(cache).path()))
        return;
    const QString partial = cache + QStringLiteral(".partial-") + QString::number(getpid());
    const Run copy = Execute(QStringLiteral("cp"), {QStringLiteral("-a"), m_dataDirectory, partial}, false);
    if (!copy.finished || copy.exitCode != 0 || std::rename(QFile::encodeName(partial).constData(),
                                                            QFile::encodeName(cache).constData()) != 0)
        QDir(partial).removeRecursively();
}

bool PostgreSqlServer::HandToServerUser(const QString& path)
{
    if (m_serverUser.isEmpty())
        return true;
    const Run chownRun = Execute(QStringLiteral("chown"), {QStringLiteral("-R"), m_serverUser + QLatin1Char(':'), path},
                                 false);
    if (chownRun.finished && chownRun.exitCode == 0)
        return true;
    m_error = QStringLiteral("cannot hand %1 to the user %2: %3").arg(path, m_serverUser, chownRun.output);
    return false;
}

bool PostgreSqlServer::StartOnFreePort()
{
    QFile configuration(m_dataDirectory + QStringLiteral("/postgresql.conf"));
    for (int attempt = 0; attempt < kStartAttempts; ++attempt) {
        m_port = FreePort();
        if (m_port == 0) {
            m_error = QStringLiteral("no free port on 127.0.0.1");
            return false;
        }
        // Later settings win, so each attempt simply appends its own.
        if (!configuration.open(QIODevice::Append)) {
            m_error = QStringLiteral("cannot write ") + configuration.fileName();
            return false;
        }
        configuration.write(QStringLiteral("\nlisten_addresses = '127.0.0.1'\n"
                                           "port = %1\n"
                                           "unix_socket_directories = %2\n"
                                           "fsync = off\nsynchronous_commit = off\nfull_page_writes = off\n")
                                .arg(m_port)
                                .arg(Quoted(m_directory.path()))
                                .toUtf8());
        configuration.close();

        const Run start = Execute(m_binDirectory + QStringLiteral("/pg_ctl"),
                                  {QStringLiteral("-D"), m_dataDirectory, QStringLiteral("-l"),
                                   m_directory.filePath(QStringLiteral("server.log")), QStringLiteral("-w"),
                                   QStringLiteral("-t"), QStringLiteral("60"), QStringLiteral("start")},
                                  true);
        if (start.finished && start.exitCode == 0)
            return true;
        m_error = QStringLiteral("pg_ctl start failed: %1\n%2").arg(start.output, ServerLogTail());
        if (!ServerLogTail().contains(QLatin1String("could not bind")))
            return false;
    }
    return false;
}

void PostgreSqlServer::Stop()
{
    if (!m_running)
        return;
    m_running = false;
    Execute(m_binDirectory + QStringLiteral("/pg_ctl"),
            {QStringLiteral("-D"), m_dataDirectory, QStringLiteral("-m"), QStringLiteral("fast"),
             QStringLiteral("-w"), QStringLiteral("stop")},
            true);
}

QString PostgreSqlServer::CreateDatabase(QString* error)
{
    const QString name = QStringLiteral("kestrin_test_%1").arg(++m_nextDatabase);
    QString output;
    if (!m_running || !Administer(QStringLiteral("postgres"),
                                  QStringLiteral("CREATE DATABASE %1 OWNER %2").arg(name, ClerkUser), &output)) {
        if (error)
            *error = m_running ? output : m_error;
        return QString();
    }
    return name;
}

bool PostgreSqlServer::DropDatabase(const QString& name, QString* error)
{
    QString output;
    const bool dropped =
        Administer(QStringLiteral("postgres"), QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name),
                   &output);
    if (!dropped && error)
        *error = output;
    return dropped;
}

QString PostgreSqlServer::ConnectionString(const QString& database) const
{
    return ConnectionString(database, ClerkUser, ClerkPassword);
}

QString PostgreSqlServer::ConnectionString(const QString& database, const QString& user,
                                           const QString& password) const
{
    using engine::ConnectionString;
    return QStringLiteral("Provider=PostgreSQL;Host=127.0.0.1;Port=%1;Database=%2;User ID=%3;Password=%4")
        .arg(m_port)
        .arg(ConnectionString::QuoteValue(database), ConnectionString::QuoteValue(user),
             ConnectionString::QuoteValue(password));
}

bool PostgreSqlServer::Administer(const QString& database, const QString& sql, QString* output)
{
    // The administrator works through the socket in the test folder; psql
    // may run as root, which the server does not mind in a client.
    const Run run = Execute(m_binDirectory + QStringLiteral("/psql"),
                            {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-A"), QStringLiteral("-t"),
                             QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"), QStringLiteral("-h"),
                             m_directory.path(), QStringLiteral("-p"), QString::number(m_port),
                             QStringLiteral("-U"), AdminUser, QStringLiteral("-d"), database,
                             QStringLiteral("-c"), sql},
                            false);
    if (output)
        *output = run.output.trimmed();
    return run.finished && run.exitCode == 0;
}

PostgreSqlServer::Run PostgreSqlServer::Execute(const QString& program, const QStringList& arguments,
                                                bool asServer) const
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setWorkingDirectory(m_directory.path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // Nothing of the caller's own PostgreSQL settings may point elsewhere.
    for (const QString& name : environment.keys()) {
        if (name.startsWith(QLatin1String("PG")))
            environment.remove(name);
    }
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    process.setProcessEnvironment(environment);
    if (asServer && !m_serverUser.isEmpty())
        process.start(QStringLiteral("runuser"),
                      QStringList{QStringLiteral("-u"), m_serverUser, QStringLiteral("--"), program} + arguments);
    else
        process.start(program, arguments);
    Run run;
    if (!process.waitForStarted()) {
        run.output = process.errorString();
        return run;
    }
    run.finished = process.waitForFinished(kProgramTimeoutMilliseconds) && process.exitStatus() == QProcess::NormalExit;
    run.exitCode = process.exitCode();
    run.output = QString::fromLocal8Bit(process.readAll());
    return run;
}

QString PostgreSqlServer::ServerLogTail() const
{
    QFile log(m_directory.filePath(QStringLiteral("server.log")));
    if (!log.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLocal8Bit(log.readAll().right(2000));
}
