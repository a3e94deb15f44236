#pragma once

#include <QByteArray>

#include <cstddef>
#include <list>

struct sqlite3_stmt;

namespace engine {

// The statements a connection prepared lately, by their SQL text, so that a
// statement run again with other values (every value is a parameter) skips
// parsing and planning. SQLite prepares a kept statement anew by itself when
// the schema has changed since. A statement handed out must be reset before
// it is run again; Clear (and the destructor) finalize them all, which must
// happen before the database closes.
class PreparedStatementCache {
public:
    static constexpr std::size_t DefaultCapacity = 16;

    explicit PreparedStatementCache(std::size_t capacity = DefaultCapacity);
    ~PreparedStatementCache();
    PreparedStatementCache(const PreparedStatementCache&) = delete;
    PreparedStatementCache& operator=(const PreparedStatementCache&) = delete;

    // The statement kept for `sql`, or nullptr. It counts as used now.
    sqlite3_stmt* Find(const QByteArray& sql);
    // Keeps `statement` (which the cache now owns) for `sql`, finalizing the
    // one used longest ago when more than the capacity would be kept.
    void Keep(const QByteArray& sql, sqlite3_stmt* statement);
    void Clear() noexcept;
    std::size_t Size() const { return m_entries.size(); }

private:
    struct Entry {
        QByteArray sql;
        sqlite3_stmt* statement;
    };

    std::size_t m_capacity;
    std::list<Entry> m_entries; // most recently used first
};

} // namespace engine
