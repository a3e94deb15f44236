#pragma once

#include "store/engine/PreparedStatementCache.h"
#include "store/engine/Provider.h"

struct sqlite3;
struct sqlite3_stmt;

namespace engine {

// The binding to an SQLCipher (encrypted SQLite) file. "Data Source" names the
// file, "Jet OLEDB:Database Password" is its key. The handle is opened in
// serialized mode, so it may be used from any thread, and waits up to five
// seconds for a lock held by another connection before giving up.
class SqlCipherProvider : public Provider {
public:
    SqlCipherProvider() = default;
    ~SqlCipherProvider() override;
    SqlCipherProvider(const SqlCipherProvider&) = delete;
    SqlCipherProvider& operator=(const SqlCipherProvider&) = delete;

    ProviderKind Kind() const override { return ProviderKind::SqlCipher; }
    void Open(const ConnectionString& connection) override;
    void Create(const ConnectionString& connection) override;
    void Close() noexcept override;
    bool IsOpen() const override { return m_db != nullptr; }

    StatementResult Run(const TranslatedStatement& statement) override;

    void BeginTransaction() override;
    void CommitTransaction() override;
    void RollbackTransaction() override;

    static constexpr int BusyTimeoutMilliseconds = 5000;

private:
    void OpenFile(const QString& path, const QString& key);
    void RunPlain(const char* sql);
    // Prepares one whole statement and keeps it in the cache.
    sqlite3_stmt* Prepare(const QByteArray& sql);
    [[noreturn]] void ThrowLastError();

    sqlite3* m_db = nullptr;
    PreparedStatementCache m_statements;
    int m_lastErrorCode = 0;
};

} // namespace engine
