#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// A throwaway PostgreSQL cluster for one test program: made by initdb in a
// temporary folder, listening on 127.0.0.1 only (at a free port) and on a
// socket in that folder, run by an unprivileged user ("postgres", else
// "nobody") when the tests run as root, since the server refuses root.
// Started at the first Instance(), stopped when the test program ends.
//
// A server that cannot be started is a failure, never a reason to skip:
// the set-up installs PostgreSQL on every machine that runs the tests.
//
//   PostgreSqlServer& server = PostgreSqlServer::Instance();
//   ASSERT_TRUE(server.IsRunning()) << qPrintable(server.Error());
//   const QString name = server.CreateDatabase(&error);
//   connection.Open(..., server.ConnectionString(name));
class PostgreSqlServer {
public:
    static PostgreSqlServer& Instance();
    ~PostgreSqlServer();
    PostgreSqlServer(const PostgreSqlServer&) = delete;
    PostgreSqlServer& operator=(const PostgreSqlServer&) = delete;

    bool IsRunning() const { return m_running; }
    const QString& Error() const { return m_error; }
    int Port() const { return m_port; }
    QString SocketDirectory() const { return m_directory.path(); }

    // A new, empty database owned by the clerk. Empty, with `error` set, on failure.
    QString CreateDatabase(QString* error = nullptr);
    bool DropDatabase(const QString& name, QString* error = nullptr);
    // The clerk's connection string for `database`, over 127.0.0.1.
    QString ConnectionString(const QString& database) const;
    QString ConnectionString(const QString& database, const QString& user, const QString& password) const;
    // Runs `sql` as the administrator in `database` (through psql on the
    // socket); `output` gets psql's unaligned rows or its error.
    bool Administer(const QString& database, const QString& sql, QString* output = nullptr);

    void Stop();

    // A port on 127.0.0.1 that nothing listens on right now (0 when none is
    // found). The server may still lose it to another program: its start-up
    // retries.
    static int FreePort();

    // The login the program's tests use; the password needs quoting in a
    // connection string and doubling in a literal.
    static inline const QString ClerkUser = QStringLiteral("clerk");
    static inline const QString ClerkPassword = QStringLiteral("s3cret;it's \"ours\"");
    static inline const QString AdminUser = QStringLiteral("kestrin_admin");

private:
    PostgreSqlServer();
    static QString TemporaryRoot();
    bool Start();
    void StopOrphans() const;
    bool FindPrograms();
    bool PrepareDirectory();
    bool InitCluster();
    bool CopyCluster(const QString& from, const QString& to);
    void KeepInCache(const QString& cache) const;
    bool HandToServerUser(const QString& path);
    bool StartOnFreePort();

    struct Run {
        bool finished = false;
        int exitCode = -1;
        QString output;
    };
    // `asServer`: as the unprivileged server user when running as root.
    Run Execute(const QString& program, const QStringList& arguments, bool asServer) const;
    QString ServerLogTail() const;

    QTemporaryDir m_directory;
    QString m_binDirectory;
    QString m_serverUser; // empty unless running as root
    QString m_dataDirectory;
    int m_port = 0;
    int m_nextDatabase = 0;
    bool m_running = false;
    QString m_error;
};
