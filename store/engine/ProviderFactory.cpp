#include "store/engine/ProviderFactory.h"

#include "store/engine/EngineError.h"
#include "store/engine/PostgreSqlProvider.h"
#include "store/engine/SqlCipherProvider.h"

namespace engine {
namespace {

bool Names(const QString& name, const char* candidate)
{
    return name.compare(QLatin1String(candidate), Qt::CaseInsensitive) == 0;
}

} // namespace

ProviderKind ProviderFactory::KindOf(const QString& providerName)
{
    const QString name = providerName.trimmed();
    // The program's connection string names the Jet provider; its database is
    // an encrypted SQLite file here.
    if (Names(name, "Microsoft.Jet.OLEDB.4.0") || Names(name, "SQLCipher"))
        return ProviderKind::SqlCipher;
    if (Names(name, "PostgreSQL"))
        return ProviderKind::PostgreSql;
    throw EngineError(QStringLiteral("Provider cannot be found. It may not be properly installed. (%1)")
                          .arg(name.isEmpty() ? QStringLiteral("no provider named") : name));
}

std::unique_ptr<Provider> ProviderFactory::Create(const QString& providerName)
{
    switch (KindOf(providerName)) {
    case ProviderKind::SqlCipher:
        return std::make_unique<SqlCipherProvider>();
    case ProviderKind::PostgreSql:
        return std::make_unique<PostgreSqlProvider>();
    }
    throw EngineError(QStringLiteral("Provider cannot be found. It may not be properly installed."));
}

} // namespace engine
