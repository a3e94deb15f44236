#pragma once

#include "store/engine/Provider.h"

#include <QString>

#include <memory>

namespace engine {

// Chooses the binding by the connection string's "Provider" keyword.
class ProviderFactory {
public:
    // Throws EngineError for a provider that is not known.
    static std::unique_ptr<Provider> Create(const QString& providerName);
};

} // namespace engine
