#include "store/engine/ProviderFactory.h"

#include "store/engine/EngineError.h"
#include "store/engine/SqlCipherProvider.h"

namespace engine {

std::unique_ptr<Provider> ProviderFactory::Create(const QString& providerName)
{
    const QString name = providerName.trimmed();
    // The program's connection string names the Jet provider; its database is
    // an encrypted SQLite file here.
    if (name.compare(QLatin1String("Microsoft.Jet.OLEDB.4.0"), Qt::CaseInsensitive) == 0
        || name.compare(QLatin1String("SQLCipher"), Qt::CaseInsensitive) == 0)
        return std::make_unique<SqlCipherProvider>();
    throw EngineError(QStringLiteral("Provider cannot be found. It may not be properly installed. (%1)")
                          .arg(name.isEmpty() ? QStringLiteral("no provider named") : name));
}

} // namespace engine
