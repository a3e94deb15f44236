#pragma once

#include "store/engine/EngineConstants.h"
#include "store/engine/ProviderKind.h"
#include "store/engine/StatementResult.h"

#include <QString>

#include <memory>
#include <mutex>

namespace engine {

class Provider;
class Recordset;

// A connection to one database, chosen by its connection string:
// "Provider=...;Data Source=<file>;Jet OLEDB:Database Password=<key>",
// "Provider=PostgreSQL;Host=...;Port=...;Database=...;User ID=...;Password=...",
// or "File Name=<data link file>" whose contents give such a string. Statements
// are written in the program's dialect (see Dialect). Every failure is an
// EngineError. The connection may be used from several threads; each call
// runs whole before the next begins.
class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void SetConnectionString(const QString& connectionString);
    QString GetConnectionString() const;

    // Opens the existing database; a non-empty `connectionString` replaces the
    // one set before. A non-empty user name or password stands for the
    // "User ID" or "Password" the string leaves out (only a server database
    // uses them). Every open runs synchronously, whatever `options` says.
    void Open(const QString& connectionString = QString(), const QString& userId = QString(),
              const QString& password = QString(), int options = adOptionUnspecified);
    // Creates the database the string names (refusing an existing one) and
    // leaves the connection open on it.
    void Create(const QString& connectionString);
    void Close() noexcept;
    int State() const; // adStateOpen or adStateClosed
    ProviderKind GetProviderKind() const; // of the open database; throws when closed

    // Runs one statement. Returns an open record set holding its rows when
    // the statement returns rows, else a closed one.
    std::shared_ptr<Recordset> Execute(const QString& statement, qint64* recordsAffected = nullptr,
                                       int options = adCmdText);
    StatementResult Run(const QString& statement);

    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();

private:
    Provider& OpenProvider();

    mutable std::recursive_mutex m_mutex;
    QString m_connectionString;
    std::unique_ptr<Provider> m_provider;
};

} // namespace engine
