#include "store/engine/PreparedStatementCache.h"

#include <sqlcipher/sqlite3.h>

namespace engine {

PreparedStatementCache::PreparedStatementCache(std::size_t capacity)
    : m_capacity(capacity > 0 ? capacity : 1) // the statement just kept stays
{
}

PreparedStatementCache::~PreparedStatementCache()
{
    Clear();
}

sqlite3_stmt* PreparedStatementCache::Find(const QByteArray& sql)
{
    // A linear search: the list is short, and its texts differ early or in length.
    for (auto entry = m_entries.begin(); entry != m_entries.end(); ++entry) {
        if (entry->sql == sql) {
            m_entries.splice(m_entries.begin(), m_entries, entry);
            return entry->statement;
        }
    }
    return nullptr;
}

void PreparedStatementCache::Keep(const QByteArray& sql, sqlite3_stmt* statement)
{
    m_entries.push_front(Entry{sql, statement});
    while (m_entries.size() > m_capacity) {
        sqlite3_finalize(m_entries.back().statement);
        m_entries.pop_back();
    }
}

void PreparedStatementCache::Clear() noexcept
{
    for (const Entry& entry : m_entries)
        sqlite3_finalize(entry.statement);
    m_entries.clear();
}

} // namespace engine
