#include "store/engine/TranslatedStatement.h"

namespace engine {

TranslatedStatement::TranslatedStatement()
    : m_pieces{QString()}
{
}

void TranslatedStatement::AppendSql(const QString& sql)
{
    m_pieces.last() += sql;
}

void TranslatedStatement::AppendParameter(const Variant& value)
{
    m_parameters.append(value);
    m_pieces.append(QString());
}

void TranslatedStatement::SetLeadingSql(const QString& sql)
{
    m_pieces.first() = sql;
}

QString TranslatedStatement::Sql(const std::function<QString(int index)>& marker) const
{
    QString sql = m_pieces.first();
    for (qsizetype i = 1; i < m_pieces.size(); ++i)
        sql += marker(static_cast<int>(i)) + m_pieces.at(i);
    return sql;
}

QString TranslatedStatement::Sql() const
{
    return Sql([](int) { return QStringLiteral("?"); });
}

} // namespace engine
