#include "backup/ImportStatement.h"

#include "store/Statements.h"

#include <QVariantList>

QString ImportStatement::Build(const QStringList& fields)
{
    const QString& pattern = Statements::InsertImportedInvoice;
    const QLatin1StringView placeholder("%s");
    QString text;
    QVariantList values;
    qsizetype from = 0;
    qsizetype field = 0;
    for (qsizetype at = pattern.indexOf(placeholder); at >= 0;
         at = pattern.indexOf(placeholder, from), ++field) {
        const QString value = fields.value(field);
        const bool dateLiteral = at > 0 && pattern.at(at - 1) == QLatin1Char('#')
            && at + 2 < pattern.size() && pattern.at(at + 2) == QLatin1Char('#');
        if (dateLiteral && value.isEmpty()) {
            text += QStringView(pattern).mid(from, at - 1 - from);
            text += QLatin1StringView("Null");
            from = at + 3;
        } else {
            text += QStringView(pattern).mid(from, at + 2 - from);
            values.append(value);
            from = at + 2;
        }
    }
    text += QStringView(pattern).mid(from);
    return Statements::Format(text, values);
}
