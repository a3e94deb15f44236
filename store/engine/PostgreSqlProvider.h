#pragma once

#include "store/engine/Provider.h"

struct pg_conn;

namespace engine {

// The binding to a database on a PostgreSQL server, through libpq. The
// connection string's keywords map to libpq's:
//   Host (or Server, Data Source)   host name, address or socket folder
//   Port                            port
//   Database (or Initial Catalog)   database name
//   User ID, Password               the login
//   Connect Timeout                 seconds to wait for the server (15 when absent)
//   SSL Mode                        libpq's sslmode
// Values are passed as they are, never spliced into a libpq string.
//
// Literals arrive as parameters: text ones untyped, so the server gives them
// the type of what they are compared with or stored in, exactly as it would
// a quoted literal; dates as timestamps. Date, timestamp and timestamp with
// time zone columns come back as dates (the last in the session's time zone);
// integers as integers; other values as the server writes them.
//
// Statements run one at a time outside a transaction (each commits on its
// own). A connection the server dropped is opened again before the next
// statement, unless a transaction was under way: that one is lost, and says so.
class PostgreSqlProvider : public Provider {
public:
    PostgreSqlProvider() = default;
    ~PostgreSqlProvider() override;
    PostgreSqlProvider(const PostgreSqlProvider&) = delete;
    PostgreSqlProvider& operator=(const PostgreSqlProvider&) = delete;

    ProviderKind Kind() const override { return ProviderKind::PostgreSql; }
    void Open(const ConnectionString& connection) override;
    // Opens the database (the server's administrator has made it) and refuses
    // it when its schema already holds a table.
    void Create(const ConnectionString& connection) override;
    void Close() noexcept override;
    bool IsOpen() const override { return m_connection != nullptr; }

    StatementResult Run(const TranslatedStatement& statement) override;

    void BeginTransaction() override;
    void CommitTransaction() override;
    void RollbackTransaction() override;

    static constexpr int DefaultConnectTimeoutSeconds = 15;

private:
    pg_conn* Connected(); // the open connection, opened again when the server dropped it
    void PrepareSession();
    QString RunCommand(const char* sql); // returns the command tag

    pg_conn* m_connection = nullptr;
    bool m_inTransaction = false;
};

} // namespace engine
