#include "store/engine/Connection.h"

#include "store/engine/ConnectionString.h"
#include "store/engine/DataLinkFile.h"
#include "store/engine/Dialect.h"
#include "store/engine/EngineError.h"
#include "store/engine/ProviderFactory.h"
#include "store/engine/Recordset.h"

namespace engine {
namespace {

const QString kFileName = QStringLiteral("File Name");
const QString kProvider = QStringLiteral("Provider");
const QString kUserId = QStringLiteral("User ID");
const QString kPassword = QStringLiteral("Password");

EngineError ClosedError()
{
    return EngineError(QStringLiteral("Operation is not allowed when the object is closed."));
}

// The connection string with a data link file read in its place.
ConnectionString Resolve(const QString& text)
{
    ConnectionString parsed = ConnectionString::Parse(text);
    if (!parsed.Contains(kFileName))
        return parsed;
    parsed = ConnectionString::Parse(DataLinkFile::ReadConnectionString(parsed.Value(kFileName)));
    if (parsed.Contains(kFileName))
        throw EngineError(QStringLiteral("A data link file may not name another data link file."));
    return parsed;
}

} // namespace

Connection::Connection() = default;

Connection::~Connection()
{
    Close();
}

void Connection::SetConnectionString(const QString& connectionString)
{
    std::lock_guard lock(m_mutex);
    if (m_provider)
        throw EngineError(QStringLiteral("Operation is not allowed when the object is open."));
    m_connectionString = connectionString;
}

QString Connection::GetConnectionString() const
{
    std::lock_guard lock(m_mutex);
    return m_connectionString;
}

void Connection::Open(const QString& connectionString, const QString& userId, const QString& password,
                      int /*options*/)
{
    std::lock_guard lock(m_mutex);
    if (m_provider)
        throw EngineError(QStringLiteral("Operation is not allowed when the object is open."));
    if (!connectionString.isEmpty())
        m_connectionString = connectionString;
    ConnectionString parsed = Resolve(m_connectionString);
    if (!userId.isEmpty() && !parsed.Contains(kUserId))
        parsed.SetValue(kUserId, userId);
    if (!password.isEmpty() && !parsed.Contains(kPassword))
        parsed.SetValue(kPassword, password);
    auto provider = ProviderFactory::Create(parsed.Value(kProvider));
    provider->Open(parsed);
    m_provider = std::move(provider);
}

void Connection::Create(const QString& connectionString)
{
    std::lock_guard lock(m_mutex);
    if (m_provider)
        throw EngineError(QStringLiteral("Operation is not allowed when the object is open."));
    m_connectionString = connectionString;
    const ConnectionString parsed = Resolve(m_connectionString);
    auto provider = ProviderFactory::Create(parsed.Value(kProvider));
    provider->Create(parsed);
    m_provider = std::move(provider);
}

void Connection::Close() noexcept
{
    std::lock_guard lock(m_mutex);
    if (m_provider) {
        m_provider->Close();
        m_provider.reset();
    }
}

int Connection::State() const
{
    std::lock_guard lock(m_mutex);
    return m_provider ? adStateOpen : adStateClosed;
}

ProviderKind Connection::GetProviderKind() const
{
    std::lock_guard lock(m_mutex);
    if (!m_provider)
        throw ClosedError();
    return m_provider->Kind();
}

Provider& Connection::OpenProvider()
{
    if (!m_provider)
        throw ClosedError();
    return *m_provider;
}

StatementResult Connection::Run(const QString& statement)
{
    const TranslatedStatement translated = Dialect::Translate(statement);
    std::lock_guard lock(m_mutex);
    return OpenProvider().Run(translated);
}

std::shared_ptr<Recordset> Connection::Execute(const QString& statement, qint64* recordsAffected,
                                               int /*options*/)
{
    StatementResult result = Run(statement);
    if (recordsAffected)
        *recordsAffected = result.RowsAffected;
    return Recordset::FromResult(std::move(result));
}

void Connection::BeginTrans()
{
    std::lock_guard lock(m_mutex);
    OpenProvider().BeginTransaction();
}

void Connection::CommitTrans()
{
    std::lock_guard lock(m_mutex);
    OpenProvider().CommitTransaction();
}

void Connection::RollbackTrans()
{
    std::lock_guard lock(m_mutex);
    OpenProvider().RollbackTransaction();
}

} // namespace engine
