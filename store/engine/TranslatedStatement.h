#pragma once

#include "store/engine/Variant.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace engine {

// A statement with every literal value lifted out as a parameter: the SQL
// text pieces between the parameters, and the parameters in order. Each
// binding writes its own parameter markers.
class TranslatedStatement {
public:
    TranslatedStatement();

    void AppendSql(const QString& sql);
    void AppendParameter(const Variant& value);
    void SetLeadingSql(const QString& sql); // replaces the text before the first parameter

    const QList<Variant>& Parameters() const { return m_parameters; }
    QString LeadingSql() const { return m_pieces.first(); }

    // The SQL with each parameter written by `marker` (given its 1-based index).
    QString Sql(const std::function<QString(int index)>& marker) const;
    // The SQL with "?" markers.
    QString Sql() const;

private:
    QStringList m_pieces; // always one more than parameters
    QList<Variant> m_parameters;
};

} // namespace engine
