#include "store/engine/SqlCipherProvider.h"

#include "store/engine/Dialect.h"
#include "store/engine/EngineError.h"

#include <sqlcipher/sqlite3.h>

#include <QFile>
#include <QFileInfo>

#include <chrono>
#include <random>
#include <thread>
#include <utility>

namespace engine {
namespace {

const QString kDataSource = QStringLiteral("Data Source");
const QString kPassword = QStringLiteral("Jet OLEDB:Database Password");

// Frees a prepared statement on every way out.
class StatementGuard {
public:
    StatementGuard() = default;
    ~StatementGuard() { sqlite3_finalize(m_statement); }
    StatementGuard(const StatementGuard&) = delete;
    StatementGuard& operator=(const StatementGuard&) = delete;
    sqlite3_stmt** Address() { return &m_statement; }
    sqlite3_stmt* Get() const { return m_statement; }
    sqlite3_stmt* Release() { return std::exchange(m_statement, nullptr); }

private:
    sqlite3_stmt* m_statement = nullptr;
};

// Leaves a kept statement ready for its next run on every way out: no
// longer holding its read lock, its values let go.
class StatementReset {
public:
    explicit StatementReset(sqlite3_stmt* statement) : m_statement(statement) {}
    ~StatementReset()
    {
        sqlite3_reset(m_statement);
        sqlite3_clear_bindings(m_statement);
    }
    StatementReset(const StatementReset&) = delete;
    StatementReset& operator=(const StatementReset&) = delete;

private:
    sqlite3_stmt* m_statement;
};

bool IsDateColumn(const char* declaredType)
{
    if (!declaredType)
        return false;
    const QByteArray type = QByteArray(declaredType).toUpper();
    return type.contains("DATE") || type.contains("TIME");
}

Variant ReadColumn(sqlite3_stmt* statement, int column, bool dateColumn)
{
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_NULL:
        return Variant();
    case SQLITE_INTEGER:
        return Variant::FromInteger(sqlite3_column_int64(statement, column));
    case SQLITE_FLOAT:
        return Variant::FromReal(sqlite3_column_double(statement, column));
    default: {
        const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
        const int size = sqlite3_column_bytes(statement, column);
        const QString text = QString::fromUtf8(data, size);
        if (dateColumn) {
            if (const auto date = Dialect::ParseStorageText(text))
                return Variant::FromDateTime(*date);
        }
        return Variant::FromText(text);
    }
    }
}

void Bind(sqlite3_stmt* statement, int index, const Variant& value)
{
    switch (value.GetType()) {
    case Variant::Type::Null:
        sqlite3_bind_null(statement, index);
        break;
    case Variant::Type::Integer:
        sqlite3_bind_int64(statement, index, value.ToInteger());
        break;
    case Variant::Type::Real:
        sqlite3_bind_double(statement, index, value.ToReal());
        break;
    case Variant::Type::DateTime:
    case Variant::Type::Text: {
        const QByteArray utf8 = value.IsDate() ? Dialect::StorageText(value.ToDateTime()).toUtf8()
                                               : value.ToText().toUtf8();
        sqlite3_bind_text(statement, index, utf8.constData(), static_cast<int>(utf8.size()),
                          SQLITE_TRANSIENT);
        break;
    }
    }
}

// The extended code tells a unique key's refusal from other constraints.
EngineError::Kind KindOf(int extendedCode)
{
    switch (extendedCode) {
    case SQLITE_CONSTRAINT_UNIQUE:
    case SQLITE_CONSTRAINT_PRIMARYKEY:
        return EngineError::Kind::UniqueViolation;
    default:
        break;
    }
    switch (extendedCode & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return EngineError::Kind::Busy;
    default:
        return EngineError::Kind::Other;
    }
}

// Waits for a lock another connection holds, for up to the busy timeout.
// SQLite's own wait tries ever more rarely, at last every 100 ms; a desk that
// writes at a steady pace can then hold the lock at every try, though it is
// free often in between. Short tries at irregular intervals find those
// moments.
int WaitForLock(void*, int attempt)
{
    thread_local std::chrono::steady_clock::time_point since;
    thread_local std::minstd_rand jitter(std::random_device{}());
    const auto now = std::chrono::steady_clock::now();
    if (attempt == 0)
        since = now;
    if (now - since >= std::chrono::milliseconds(SqlCipherProvider::BusyTimeoutMilliseconds))
        return 0;
    std::this_thread::sleep_for(std::chrono::microseconds(500 + jitter() % 2500));
    return 1;
}

bool IsBlank(const char* text)
{
    for (; *text; ++text) {
        if (!QChar::isSpace(static_cast<unsigned char>(*text)))
            return false;
    }
    return true;
}

} // namespace

SqlCipherProvider::~SqlCipherProvider()
{
    Close();
}

void SqlCipherProvider::Open(const ConnectionString& connection)
{
    const QString path = connection.Value(kDataSource);
    if (path.isEmpty() || !QFileInfo(path).isFile())
        throw EngineError(QStringLiteral("Could not find file '%1'.").arg(path));
    OpenFile(path, connection.Value(kPassword));
}

void SqlCipherProvider::Create(const ConnectionString& connection)
{
    const QString path = connection.Value(kDataSource);
    if (path.isEmpty())
        throw EngineError(QStringLiteral("No database file was named."));
    // Claiming the name with an exclusive create means no existing file, nor
    // one made at the same moment by someone else, is ever taken over. SQLite
    // reads an empty file as an empty database.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        if (QFileInfo::exists(path))
            throw EngineError(QStringLiteral("Database '%1' already exists.").arg(path));
        throw EngineError(QStringLiteral("Cannot create database '%1': %2").arg(path, file.errorString()));
    }
    file.close();
    try {
        OpenFile(path, connection.Value(kPassword));
    } catch (...) {
        QFile::remove(path);
        throw;
    }
}

void SqlCipherProvider::OpenFile(const QString& path, const QString& key)
{
    Close();
    const QByteArray name = QFile::encodeName(path);
    const int rc = sqlite3_open_v2(name.constData(), &m_db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db))
                                     : QStringLiteral("out of memory");
        Close();
        throw EngineError(QStringLiteral("Could not open file '%1': %2").arg(path, message));
    }
    sqlite3_busy_handler(m_db, WaitForLock, nullptr);
    sqlite3_extended_result_codes(m_db, 0);

    try {
        if (!key.isEmpty()) {
            QString quoted = key;
            quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
            RunPlain(QStringLiteral("PRAGMA key = '%1'").arg(quoted).toUtf8().constData());
        }
        // The key is only tried at the first read: a wrong one (or a file that
        // is no database) shows here.
        RunPlain("SELECT count(*) FROM sqlite_master");
    } catch (const EngineError&) {
        Close();
        if (m_lastErrorCode == SQLITE_NOTADB)
            throw EngineError(QStringLiteral("Not a valid password, or '%1' is not a database.").arg(path));
        throw;
    }
}

void SqlCipherProvider::Close() noexcept
{
    m_statements.Clear();
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

void SqlCipherProvider::RunPlain(const char* sql)
{
    StatementGuard statement;
    if (sqlite3_prepare_v2(m_db, sql, -1, statement.Address(), nullptr) != SQLITE_OK)
        ThrowLastError();
    int rc = SQLITE_ROW;
    while (statement.Get() && (rc = sqlite3_step(statement.Get())) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE && rc != SQLITE_ROW)
        ThrowLastError();
}

void SqlCipherProvider::ThrowLastError()
{
    m_lastErrorCode = m_db ? sqlite3_errcode(m_db) : SQLITE_MISUSE;
    const int extendedCode = m_db ? sqlite3_extended_errcode(m_db) : SQLITE_MISUSE;
    throw EngineError(m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString(), KindOf(extendedCode));
}

StatementResult SqlCipherProvider::Run(const TranslatedStatement& translated)
{
    if (!m_db)
        throw EngineError(QStringLiteral("Operation is not allowed when the object is closed."));

    const QByteArray sql = translated.Sql().toUtf8();
    sqlite3_stmt* statement = m_statements.Find(sql);
    if (!statement)
        statement = Prepare(sql);
    const StatementReset reset(statement);

    const auto& parameters = translated.Parameters();
    if (sqlite3_bind_parameter_count(statement) != parameters.size())
        throw EngineError(QStringLiteral("No value given for one or more required parameters."));
    for (int i = 0; i < parameters.size(); ++i)
        Bind(statement, i + 1, parameters.at(i));

    const int changesBefore = sqlite3_total_changes(m_db);
    int rc = sqlite3_step(statement);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        ThrowLastError();

    // Only now are the columns known: a kept statement is prepared anew at
    // its first step when the schema has changed since.
    StatementResult result;
    const int columnCount = sqlite3_column_count(statement);
    result.ReturnsRows = columnCount > 0;
    std::vector<bool> dateColumns(static_cast<size_t>(columnCount));
    for (int c = 0; c < columnCount; ++c) {
        result.Columns.append(QString::fromUtf8(sqlite3_column_name(statement, c)));
        dateColumns[static_cast<size_t>(c)] = IsDateColumn(sqlite3_column_decltype(statement, c));
    }

    for (; rc == SQLITE_ROW; rc = sqlite3_step(statement)) {
        std::vector<Variant> row;
        row.reserve(static_cast<size_t>(columnCount));
        for (int c = 0; c < columnCount; ++c)
            row.push_back(ReadColumn(statement, c, dateColumns[static_cast<size_t>(c)]));
        result.Rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE)
        ThrowLastError();
    result.RowsAffected = result.ReturnsRows ? -1 : sqlite3_total_changes(m_db) - changesBefore;
    return result;
}

sqlite3_stmt* SqlCipherProvider::Prepare(const QByteArray& sql)
{
    StatementGuard guard;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(m_db, sql.constData(), static_cast<int>(sql.size()), guard.Address(), &tail)
        != SQLITE_OK)
        ThrowLastError();
    if (!guard.Get())
        throw EngineError(QStringLiteral("The statement is empty."));
    if (tail && !IsBlank(tail))
        throw EngineError(QStringLiteral("Characters found after end of SQL statement."));
    sqlite3_stmt* statement = guard.Release();
    m_statements.Keep(sql, statement);
    return statement;
}

void SqlCipherProvider::BeginTransaction()
{
    if (!m_db)
        throw EngineError(QStringLiteral("Operation is not allowed when the object is closed."));
    // Taking the write lock at once avoids a deadlock between two connections
    // that both read first and then want to write.
    RunPlain("BEGIN IMMEDIATE");
}

void SqlCipherProvider::CommitTransaction()
{
    if (!m_db)
        throw EngineError(QStringLiteral("Operation is not allowed when the object is closed."));
    RunPlain("COMMIT");
}

void SqlCipherProvider::RollbackTransaction()
{
    if (!m_db)
        throw EngineError(QStringLiteral("Operation is not allowed when the object is closed."));
    RunPlain("ROLLBACK");
}

} // namespace engine
