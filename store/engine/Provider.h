#pragma once

#include "store/engine/ConnectionString.h"
#include "store/engine/ProviderKind.h"
#include "store/engine/StatementResult.h"
#include "store/engine/TranslatedStatement.h"

namespace engine {

// One database binding behind a Connection. It receives statements already
// translated from the program's dialect and gives back whole results; dates
// travel as Variant dates both ways. Every failure is an EngineError.
class Provider {
public:
    virtual ~Provider();

    virtual ProviderKind Kind() const = 0;

    // Opens the existing database the connection string names; never creates one.
    virtual void Open(const ConnectionString& connection) = 0;
    // Makes a new, empty database ready and leaves it open. Refuses one that
    // may hold data: a file that exists, a server database with tables.
    virtual void Create(const ConnectionString& connection) = 0;
    virtual void Close() noexcept = 0;
    virtual bool IsOpen() const = 0;

    virtual StatementResult Run(const TranslatedStatement& statement) = 0;

    virtual void BeginTransaction() = 0;
    virtual void CommitTransaction() = 0;
    virtual void RollbackTransaction() = 0;
};

} // namespace engine
