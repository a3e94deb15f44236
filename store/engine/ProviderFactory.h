#pragma once

#include "store/engine/Provider.h"
#include "store/engine/ProviderKind.h"

#include <QString>

#include <memory>

namespace engine {

// Chooses the binding by the connection string's "Provider" keyword:
// "Microsoft.Jet.OLEDB.4.0" or "SQLCipher" for an encrypted file,
// "PostgreSQL" for a server database.
class ProviderFactory {
public:
    // Both throw EngineError for a provider that is not known.
    static ProviderKind KindOf(const QString& providerName);
    static std::unique_ptr<Provider> Create(const QString& providerName);
};

} // namespace engine
