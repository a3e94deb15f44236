#include "store/engine/PostgreSqlProvider.h"

#include "store/engine/Dialect.h"
#include "store/engine/EngineError.h"

#include <libpq-fe.h>

#include <QRegularExpression>

#include <initializer_list>
#include <optional>
#include <utility>
#include <vector>

namespace engine {
namespace {

// Type identifiers of the server's built-in types (fixed in its catalogue).
constexpr Oid kUnknownType = 0;
constexpr Oid kInt8Type = 20;
constexpr Oid kInt2Type = 21;
constexpr Oid kInt4Type = 23;
constexpr Oid kOidType = 26;
constexpr Oid kFloat4Type = 700;
constexpr Oid kFloat8Type = 701;
constexpr Oid kDateType = 1082;
constexpr Oid kTimestampType = 1114;
constexpr Oid kTimestampTzType = 1184;

const char* const kUniqueViolation = "23505";
const char* const kBusyStates[] = {"40001", "40P01", "55P03"}; // serialization, deadlock, lock not available

EngineError ClosedError()
{
    return EngineError(QStringLiteral("Operation is not allowed when the object is closed."));
}

// Frees a result on every way out.
class ResultGuard {
public:
    explicit ResultGuard(PGresult* result)
        : m_result(result)
    {
    }
    ~ResultGuard() { PQclear(m_result); }
    ResultGuard(const ResultGuard&) = delete;
    ResultGuard& operator=(const ResultGuard&) = delete;
    PGresult* Get() const { return m_result; }

private:
    PGresult* m_result;
};

QString ConnectionMessage(const PGconn* connection)
{
    return QString::fromUtf8(PQerrorMessage(connection)).trimmed();
}

EngineError::Kind KindOf(const char* sqlState)
{
    if (!sqlState)
        return EngineError::Kind::Other;
    if (qstrcmp(sqlState, kUniqueViolation) == 0)
        return EngineError::Kind::UniqueViolation;
    for (const char* busy : kBusyStates) {
        if (qstrcmp(sqlState, busy) == 0)
            return EngineError::Kind::Busy;
    }
    return EngineError::Kind::Other;
}

// The server's own sentence for a failed statement; the connection's message
// when the failure never reached the server.
EngineError ResultError(const PGconn* connection, const PGresult* result)
{
    const char* primary = result ? PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
    const QString description = primary && *primary ? QString::fromUtf8(primary) : ConnectionMessage(connection);
    return EngineError(description, KindOf(result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr));
}

QString FirstValue(const ConnectionString& connection, std::initializer_list<const char*> keywords)
{
    for (const char* keyword : keywords) {
        const QString name = QLatin1String(keyword);
        if (connection.Contains(name))
            return connection.Value(name);
    }
    return QString();
}

// A date as the server writes it in the ISO style: "yyyy-mm-dd", for
// timestamps followed by " hh:mm:ss", a fraction and, with a time zone, the
// offset. The fraction is dropped (dates carry whole seconds) and so is the
// offset (the time is the session's wall clock time).
std::optional<QDateTime> ParseServerDate(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral(
        "^([0-9]{4}-[0-9]{2}-[0-9]{2})(?: ([0-9]{2}:[0-9]{2}:[0-9]{2})(?:\\.[0-9]+)?)?"
        "(?:[+-][0-9]{2}(?::[0-9]{2}){0,2})?$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    QString storage = match.captured(1);
    if (match.hasCaptured(2))
        storage += QLatin1Char(' ') + match.captured(2);
    return Dialect::ParseStorageText(storage);
}

Variant ReadValue(const PGresult* result, int row, int column, Oid type)
{
    if (PQgetisnull(result, row, column))
        return Variant();
    const QString text = QString::fromUtf8(PQgetvalue(result, row, column), PQgetlength(result, row, column));
    bool ok = false;
    switch (type) {
    case kInt2Type:
    case kInt4Type:
    case kInt8Type:
    case kOidType:
        if (const qint64 value = text.toLongLong(&ok); ok)
            return Variant::FromInteger(value);
        break;
    case kFloat4Type:
    case kFloat8Type:
        if (const double value = text.toDouble(&ok); ok)
            return Variant::FromReal(value);
        break;
    case kDateType:
    case kTimestampType:
    case kTimestampTzType:
        if (const auto date = ParseServerDate(text))
            return Variant::FromDateTime(*date);
        break; // infinity and dates before the common era stay text
    default:
        break;
    }
    return Variant::FromText(text);
}

// A "$1" left in the statement's own text would silently take the value of
// one of its literals; such a statement is refused, as the file binding
// refuses markers it has no value for. Double-quoted names are skipped.
bool HasOwnParameterMarker(const QString& sql)
{
    bool quoted = false;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql.at(i);
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && c == QLatin1Char('$') && i + 1 < sql.size() && sql.at(i + 1).isDigit())
            return true;
    }
    return false;
}

// Parameters as libpq takes them: texts in UTF-8 with their types.
class BoundParameters {
public:
    explicit BoundParameters(const QList<Variant>& parameters)
    {
        for (const Variant& value : parameters) {
            switch (value.GetType()) {
            case Variant::Type::Null:
                Add(kUnknownType, QByteArray());
                break;
            case Variant::Type::Text:
                Add(kUnknownType, value.ToText().toUtf8());
                break;
            case Variant::Type::Integer:
                Add(kInt8Type, QByteArray::number(value.ToInteger()));
                break;
            case Variant::Type::Real:
                Add(kFloat8Type, QByteArray::number(value.ToReal(), 'g', 17));
                break;
            case Variant::Type::DateTime:
                Add(kTimestampType,
                    value.ToDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toUtf8());
                break;
            }
            m_null.push_back(value.IsNull());
        }
        for (size_t i = 0; i < m_values.size(); ++i)
            m_pointers.push_back(m_null[i] ? nullptr : m_values[i].constData());
    }

    int Count() const { return static_cast<int>(m_values.size()); }
    const Oid* Types() const { return m_types.data(); }
    const char* const* Values() const { return m_pointers.data(); }

private:
    void Add(Oid type, QByteArray value)
    {
        m_types.push_back(type);
        m_values.push_back(std::move(value));
    }

    std::vector<Oid> m_types;
    std::vector<QByteArray> m_values;
    std::vector<bool> m_null;
    std::vector<const char*> m_pointers;
};

// A COPY would leave the connection waiting for data; end it and read on
// until the server is ready for the next statement.
void FinishCopy(PGconn* connection, ExecStatusType status)
{
    if (status == PGRES_COPY_IN)
        PQputCopyEnd(connection, "COPY is not supported");
    if (status == PGRES_COPY_OUT) {
        char* buffer = nullptr;
        while (PQgetCopyData(connection, &buffer, 0) > 0)
            PQfreemem(buffer);
    }
    while (PGresult* rest = PQgetResult(connection))
        PQclear(rest);
}

void IgnoreNotice(void*, const char*)
{
}

} // namespace

PostgreSqlProvider::~PostgreSqlProvider()
{
    Close();
}

void PostgreSqlProvider::Open(const ConnectionString& connection)
{
    Close();
    const QString timeout = FirstValue(connection, {"Connect Timeout"});
    const std::pair<const char*, QString> settings[] = {
        {"host", FirstValue(connection, {"Host", "Server", "Data Source"})},
        {"port", FirstValue(connection, {"Port"})},
        {"dbname", FirstValue(connection, {"Database", "Initial Catalog"})},
        {"user", FirstValue(connection, {"User ID"})},
        {"password", FirstValue(connection, {"Password"})},
        {"sslmode", FirstValue(connection, {"SSL Mode"})},
        {"connect_timeout", timeout.isEmpty() ? QString::number(DefaultConnectTimeoutSeconds) : timeout},
        {"client_encoding", QStringLiteral("UTF8")},
        {"application_name", QStringLiteral("kestrin")},
    };
    std::vector<QByteArray> values;
    std::vector<const char*> keywordPointers;
    std::vector<const char*> valuePointers;
    values.reserve(std::size(settings));
    for (const auto& [keyword, value] : settings) {
        if (value.isEmpty())
            continue;
        values.push_back(value.toUtf8());
        keywordPointers.push_back(keyword);
        valuePointers.push_back(values.back().constData());
    }
    keywordPointers.push_back(nullptr);
    valuePointers.push_back(nullptr);

    // expand_dbname 0: a database name is a name, never a connection string.
    PGconn* opened = PQconnectdbParams(keywordPointers.data(), valuePointers.data(), 0);
    if (!opened)
        throw EngineError(QStringLiteral("out of memory"));
    if (PQstatus(opened) != CONNECTION_OK) {
        const QString message = ConnectionMessage(opened);
        PQfinish(opened);
        throw EngineError(message);
    }
    PQsetNoticeProcessor(opened, IgnoreNotice, nullptr);
    m_connection = opened;
    try {
        PrepareSession();
    } catch (...) {
        Close();
        throw;
    }
}

void PostgreSqlProvider::PrepareSession()
{
    // Dates are read back in the one form ParseServerDate knows.
    RunCommand("SET DateStyle TO ISO");
}

void PostgreSqlProvider::Create(const ConnectionString& connection)
{
    Open(connection);
    try {
        const char* query = "SELECT string_agg(tablename, ', ' ORDER BY tablename) FROM pg_catalog.pg_tables "
                            "WHERE schemaname = current_schema()";
        ResultGuard result(PQexec(m_connection, query));
        if (PQresultStatus(result.Get()) != PGRES_TUPLES_OK)
            throw ResultError(m_connection, result.Get());
        if (!PQgetisnull(result.Get(), 0, 0))
            throw EngineError(QStringLiteral("Database '%1' already holds tables (%2); it was left untouched.")
                                  .arg(QString::fromUtf8(PQdb(m_connection)),
                                       QString::fromUtf8(PQgetvalue(result.Get(), 0, 0))));
    } catch (...) {
        Close();
        throw;
    }
}

void PostgreSqlProvider::Close() noexcept
{
    if (m_connection) {
        PQfinish(m_connection);
        m_connection = nullptr;
    }
    m_inTransaction = false;
}

PGconn* PostgreSqlProvider::Connected()
{
    if (!m_connection)
        throw ClosedError();
    if (PQstatus(m_connection) == CONNECTION_OK)
        return m_connection;
    if (m_inTransaction)
        throw EngineError(QStringLiteral(
            "The connection to the server was lost; the transaction under way was rolled back."));
    PQreset(m_connection);
    if (PQstatus(m_connection) != CONNECTION_OK)
        throw EngineError(ConnectionMessage(m_connection));
    PrepareSession();
    return m_connection;
}

QString PostgreSqlProvider::RunCommand(const char* sql)
{
    ResultGuard result(PQexec(m_connection, sql));
    if (PQresultStatus(result.Get()) != PGRES_COMMAND_OK)
        throw ResultError(m_connection, result.Get());
    return QString::fromUtf8(PQcmdStatus(result.Get()));
}

StatementResult PostgreSqlProvider::Run(const TranslatedStatement& translated)
{
    PGconn* connection = Connected();
    if (HasOwnParameterMarker(translated.Sql()))
        throw EngineError(QStringLiteral("No value given for one or more required parameters."));
    const QByteArray sql = translated.Sql([](int index) { return QStringLiteral("$%1").arg(index); }).toUtf8();
    const BoundParameters parameters(translated.Parameters());

    ResultGuard result(PQexecParams(connection, sql.constData(), parameters.Count(), parameters.Types(),
                                    parameters.Values(), nullptr, nullptr, 0));
    const ExecStatusType status = PQresultStatus(result.Get());
    StatementResult outcome;
    switch (status) {
    case PGRES_TUPLES_OK: {
        outcome.ReturnsRows = true;
        const int columnCount = PQnfields(result.Get());
        std::vector<Oid> types;
        for (int c = 0; c < columnCount; ++c) {
            outcome.Columns.append(QString::fromUtf8(PQfname(result.Get(), c)));
            types.push_back(PQftype(result.Get(), c));
        }
        const int rowCount = PQntuples(result.Get());
        outcome.Rows.reserve(static_cast<size_t>(rowCount));
        for (int r = 0; r < rowCount; ++r) {
            std::vector<Variant> row;
            row.reserve(static_cast<size_t>(columnCount));
            for (int c = 0; c < columnCount; ++c)
                row.push_back(ReadValue(result.Get(), r, c, types[static_cast<size_t>(c)]));
            outcome.Rows.push_back(std::move(row));
        }
        return outcome;
    }
    case PGRES_COMMAND_OK:
        outcome.RowsAffected = QByteArray(PQcmdTuples(result.Get())).toLongLong();
        return outcome;
    case PGRES_EMPTY_QUERY:
        throw EngineError(QStringLiteral("The statement is empty."));
    case PGRES_COPY_IN:
    case PGRES_COPY_OUT:
        FinishCopy(connection, status);
        throw EngineError(QStringLiteral("COPY is not supported."));
    default:
        throw ResultError(connection, result.Get());
    }
}

void PostgreSqlProvider::BeginTransaction()
{
    Connected();
    RunCommand("BEGIN");
    m_inTransaction = true;
}

void PostgreSqlProvider::CommitTransaction()
{
    if (!m_connection)
        throw ClosedError();
    // Whatever COMMIT answers, the transaction is over.
    const bool wasInTransaction = std::exchange(m_inTransaction, false);
    if (wasInTransaction && PQstatus(m_connection) != CONNECTION_OK)
        throw EngineError(QStringLiteral(
            "The connection to the server was lost; the transaction under way was rolled back."));
    // The server answers COMMIT of a transaction that an error has spoilt with
    // a rollback and no error; that is a failure to store, and is reported.
    if (RunCommand("COMMIT") == QLatin1String("ROLLBACK"))
        throw EngineError(QStringLiteral(
            "The transaction was rolled back, because one of its statements failed; nothing of it was stored."));
}

void PostgreSqlProvider::RollbackTransaction()
{
    if (!m_connection)
        throw ClosedError();
    m_inTransaction = false;
    // A lost connection took its transaction with it: nothing is left to undo.
    if (PQstatus(m_connection) != CONNECTION_OK)
        return;
    RunCommand("ROLLBACK");
}

} // namespace engine
