#include "store/engine/Recordset.h"

#include "store/engine/Connection.h"
#include "store/engine/EngineError.h"

namespace engine {

std::shared_ptr<Recordset> Recordset::FromResult(StatementResult result)
{
    auto recordset = std::make_shared<Recordset>();
    if (result.ReturnsRows)
        recordset->Load(std::move(result));
    return recordset;
}

void Recordset::Load(StatementResult result)
{
    m_result = std::move(result);
    m_position = 0;
    m_columnIndexes.clear();
    m_open = true;
}

void Recordset::Open(const QString& source, const std::shared_ptr<Connection>& connection,
                     int /*cursorType*/, int /*lockType*/, int /*options*/)
{
    if (m_open)
        throw EngineError(QStringLiteral("Operation is not allowed when the object is open."));
    if (!connection)
        throw EngineError(QStringLiteral(
            "The connection cannot be used to perform this operation. It is either closed or invalid in this context."));
    StatementResult result = connection->Run(source);
    if (result.ReturnsRows)
        Load(std::move(result));
}

void Recordset::Close() noexcept
{
    m_open = false;
    m_result = StatementResult();
    m_position = 0;
    m_columnIndexes.clear();
}

void Recordset::RequireOpen() const
{
    if (!m_open)
        throw EngineError(QStringLiteral("Operation is not allowed when the object is closed."));
}

bool Recordset::IsEOF() const
{
    RequireOpen();
    return m_position >= m_result.Rows.size();
}

Variant Recordset::Collect(const QString& column) const
{
    if (IsEOF())
        throw EngineError(QStringLiteral(
            "Either BOF or EOF is True, or the current record has been deleted. Requested operation requires a current record."));
    const qsizetype index = ColumnIndex(column);
    if (index < 0)
        throw EngineError(QStringLiteral(
            "Item cannot be found in the collection corresponding to the requested name or ordinal. (%1)").arg(column));
    return m_result.Rows[m_position][static_cast<size_t>(index)];
}

qsizetype Recordset::ColumnIndex(const QString& column) const
{
    const auto known = m_columnIndexes.constFind(column);
    if (known != m_columnIndexes.constEnd())
        return known.value();
    qsizetype index = -1;
    for (qsizetype i = 0; i < m_result.Columns.size() && index < 0; ++i) {
        if (m_result.Columns.at(i).compare(column, Qt::CaseInsensitive) == 0)
            index = i;
    }
    if (index >= 0)
        m_columnIndexes.insert(column, index);
    return index;
}

void Recordset::MoveNext()
{
    if (IsEOF())
        throw EngineError(QStringLiteral(
            "Either BOF or EOF is True, or the current record has been deleted. Requested operation requires a current record."));
    ++m_position;
}

qint64 Recordset::RecordCount() const
{
    RequireOpen();
    return static_cast<qint64>(m_result.Rows.size());
}

int Recordset::FieldCount() const
{
    RequireOpen();
    return static_cast<int>(m_result.Columns.size());
}

QStringList Recordset::FieldNames() const
{
    RequireOpen();
    return m_result.Columns;
}

} // namespace engine
