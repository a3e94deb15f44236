#pragma once

#include "store/engine/EngineConstants.h"
#include "store/engine/StatementResult.h"
#include "store/engine/Variant.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>

namespace engine {

class Connection;

// The rows of one query, fetched whole when it opens (a client cursor), so
// RecordCount is exact at once. Read a row by column name (any letter case)
// with Collect until IsEOF, moving on with MoveNext. Every misuse (reading a
// closed set, reading past the end, an unknown column) is an EngineError.
class Recordset {
public:
    Recordset() = default;
    static std::shared_ptr<Recordset> FromResult(StatementResult result);

    // Only a client cursor exists; other locations are accepted and ignored.
    void SetCursorLocation(int location) { m_cursorLocation = location; }
    int GetCursorLocation() const { return m_cursorLocation; }

    // Runs `source` on `connection`. Refused while the set is open. A
    // statement that returns no rows runs and leaves the set closed.
    void Open(const QString& source, const std::shared_ptr<Connection>& connection,
              int cursorType = adOptionUnspecified, int lockType = adOptionUnspecified,
              int options = adCmdText);
    void Close() noexcept; // closing a closed set does nothing
    int State() const { return m_open ? adStateOpen : adStateClosed; }

    bool IsEOF() const;
    Variant Collect(const QString& column) const;
    void MoveNext();
    qint64 RecordCount() const;
    int FieldCount() const;
    QStringList FieldNames() const;

private:
    void RequireOpen() const;
    void Load(StatementResult result);
    // Index of the first column named `column` in any case, -1 for none.
    qsizetype ColumnIndex(const QString& column) const;

    int m_cursorLocation = adUseClient;
    bool m_open = false;
    StatementResult m_result;
    size_t m_position = 0;
    // Names already looked up, as the reader wrote them: a reader asks for
    // the same few columns on every row.
    mutable QHash<QString, qsizetype> m_columnIndexes;
};

} // namespace engine
