#include "store/Statements.h"

#include "store/engine/ConnectionString.h"

namespace {

enum class Literal { None, Text, Date };

QString Escaped(const QString& value, Literal literal)
{
    QString escaped = value;
    if (literal == Literal::Text)
        escaped.replace(QLatin1Char('\''), QStringLiteral("''"));
    else if (literal == Literal::Date)
        escaped.replace(QLatin1Char('#'), QStringLiteral("##"));
    return escaped;
}

} // namespace

QString Statements::Format(const QString& statementText, const QVariantList& values)
{
    QString result;
    result.reserve(statementText.size() + 16 * values.size());
    qsizetype next = 0;
    Literal literal = Literal::None;
    const qsizetype n = statementText.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = statementText.at(i);
        if (c == QLatin1Char('%') && i + 1 < n) {
            const QChar kind = statementText.at(i + 1);
            if (kind == QLatin1Char('%')) {
                result += c;
                ++i;
                continue;
            }
            if (kind == QLatin1Char('s') || kind == QLatin1Char('d')) {
                const QVariant value = next < values.size() ? values.at(next) : QVariant();
                ++next;
                const QString text = kind == QLatin1Char('d') ? QString::number(value.toLongLong())
                                                              : value.toString();
                result += Escaped(text, literal);
                ++i;
                continue;
            }
        }
        // Track the literal the template is in; the template's own doubled
        // delimiters toggle twice and so leave it unchanged.
        if (c == QLatin1Char('\'') && literal != Literal::Date)
            literal = literal == Literal::Text ? Literal::None : Literal::Text;
        else if (c == QLatin1Char('#') && literal != Literal::Text)
            literal = literal == Literal::Date ? Literal::None : Literal::Date;
        result += c;
    }
    return result;
}

QString Statements::ConnectionString(const QString& databasePath)
{
    return Format(ConnectionStringTemplate,
                  {engine::ConnectionString::QuoteValue(databasePath),
                   engine::ConnectionString::QuoteValue(DatabasePassword)});
}
