#include "store/engine/Dialect.h"

#include "store/engine/EngineError.h"

#include <QRegularExpression>

namespace engine {
namespace {

EngineError SyntaxError(const char* what, const QString& expression)
{
    return EngineError(QStringLiteral("Syntax error in %1 in query expression '%2'.")
                           .arg(QLatin1String(what), expression));
}

// Reads the literal opened by `delimiter` at `start`; a doubled delimiter
// inside stands for one. Returns the position after the closing delimiter,
// or -1 when the literal is not closed.
qsizetype ReadDelimited(const QString& text, qsizetype start, QChar delimiter, QString* contents)
{
    // Copied a stretch at a time: statements carry long values.
    const qsizetype n = text.size();
    qsizetype from = start + 1;
    for (;;) {
        const qsizetype at = text.indexOf(delimiter, from);
        if (at < 0)
            return -1;
        contents->append(QStringView(text).mid(from, at - from));
        if (at + 1 < n && text.at(at + 1) == delimiter) {
            *contents += delimiter;
            from = at + 2;
            continue;
        }
        return at + 1;
    }
}

bool IsSpecial(QChar c)
{
    return c == QLatin1Char('\'') || c == QLatin1Char('#') || c == QLatin1Char('"') || c == QLatin1Char('[');
}

// Whether `sql` may open with "Delete * from": its first word starts with D.
bool MayDeleteAll(const QString& sql)
{
    for (const QChar c : sql) {
        if (!c.isSpace())
            return c == QLatin1Char('D') || c == QLatin1Char('d');
    }
    return false;
}

// A quoted name: copied as written, closing at `close`.
qsizetype CopyQuotedName(const QString& text, qsizetype start, QChar close, QString* sql)
{
    const qsizetype end = text.indexOf(close, start + 1);
    const qsizetype stop = end < 0 ? text.size() : end + 1;
    *sql += text.mid(start, stop - start);
    return stop;
}

int Number(const QRegularExpressionMatch& match, int group)
{
    return match.captured(group).toInt();
}

} // namespace

TranslatedStatement Dialect::Translate(const QString& statement)
{
    TranslatedStatement result;
    QString sql;
    const qsizetype n = statement.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = statement.at(i);
        if (c == QLatin1Char('\'')) {
            QString text;
            const qsizetype next = ReadDelimited(statement, i, c, &text);
            if (next < 0)
                throw SyntaxError("string", statement.mid(i));
            result.AppendSql(sql);
            sql.clear();
            result.AppendParameter(Variant::FromText(text));
            i = next;
        } else if (c == QLatin1Char('#')) {
            QString text;
            const qsizetype next = ReadDelimited(statement, i, c, &text);
            if (next < 0)
                throw SyntaxError("date", statement.mid(i));
            const auto date = ParseDateLiteral(text);
            if (!date)
                throw SyntaxError("date", statement.mid(i, next - i));
            result.AppendSql(sql);
            sql.clear();
            result.AppendParameter(Variant::FromDateTime(*date));
            i = next;
        } else if (c == QLatin1Char('"')) {
            i = CopyQuotedName(statement, i, c, &sql);
        } else if (c == QLatin1Char('[')) {
            i = CopyQuotedName(statement, i, QLatin1Char(']'), &sql);
        } else {
            qsizetype end = i + 1;
            while (end < n && !IsSpecial(statement.at(end)))
                ++end;
            sql.append(QStringView(statement).mid(i, end - i));
            i = end;
        }
    }
    result.AppendSql(sql);

    static const QRegularExpression deleteAll(QStringLiteral("^\\s*DELETE\\s+\\*\\s*FROM\\b"),
                                              QRegularExpression::CaseInsensitiveOption);
    QString leading = result.LeadingSql();
    if (MayDeleteAll(leading) && leading.contains(deleteAll)) {
        leading.replace(deleteAll, QStringLiteral("DELETE FROM"));
        result.SetLeadingSql(leading);
    }
    return result;
}

std::optional<QDateTime> Dialect::ParseDateLiteral(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral(
        "^\\s*(?:"
        "([0-9]{4})-([0-9]{1,2})-([0-9]{1,2})"      // 1-3: yyyy-m-d
        "|([0-9]{4})/([0-9]{1,2})/([0-9]{1,2})"     // 4-6: yyyy/m/d
        "|([0-9]{1,2})/([0-9]{1,2})/([0-9]{4})"     // 7-9: m/d/yyyy
        "|([0-9]{1,2})\\.([0-9]{1,2})\\.([0-9]{4})" // 10-12: d.m.yyyy
        ")"
        "(?:\\s+([0-9]{1,2}):([0-9]{2})(?::([0-9]{2}))?(?:\\s*([AaPp][Mm]))?)?" // 13-16
        "\\s*$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;

    // Groups of year, month and day for each accepted form.
    static constexpr int forms[4][3] = {{1, 2, 3}, {4, 5, 6}, {9, 7, 8}, {12, 11, 10}};
    const int* form = forms[3];
    for (const auto& candidate : forms) {
        if (match.hasCaptured(candidate[0])) {
            form = candidate;
            break;
        }
    }
    const int year = Number(match, form[0]);
    const int month = Number(match, form[1]);
    const int day = Number(match, form[2]);
    const QDate date(year, month, day);
    if (year < 100 || !date.isValid())
        return std::nullopt;

    QTime time(0, 0);
    if (match.hasCaptured(13)) {
        int hour = Number(match, 13);
        const int minute = Number(match, 14);
        const int second = match.hasCaptured(15) ? Number(match, 15) : 0;
        if (match.hasCaptured(16)) {
            if (hour < 1 || hour > 12)
                return std::nullopt;
            const bool pm = match.captured(16).compare(QLatin1String("pm"), Qt::CaseInsensitive) == 0;
            hour = hour % 12 + (pm ? 12 : 0);
        }
        time = QTime(hour, minute, second);
        if (!time.isValid())
            return std::nullopt;
    }
    return QDateTime(date, time, Qt::UTC);
}

QString Dialect::StorageText(const QDateTime& value)
{
    QString text = value.date().toString(QStringLiteral("yyyy-MM-dd"));
    if (value.time() != QTime(0, 0))
        text += QLatin1Char(' ') + value.time().toString(QStringLiteral("HH:mm:ss"));
    return text;
}

std::optional<QDateTime> Dialect::ParseStorageText(const QString& text)
{
    // Read by hand: every date column of every row read comes here.
    // "yyyy-mm-dd" or "yyyy-mm-dd hh:mm:ss", nothing else.
    const qsizetype size = text.size();
    if (size != 10 && size != 19)
        return std::nullopt;
    auto number = [&text](qsizetype from, qsizetype digits) {
        int value = 0;
        for (qsizetype i = from; i < from + digits; ++i) {
            const char16_t c = text.at(i).unicode();
            if (c < u'0' || c > u'9')
                return -1;
            value = value * 10 + (c - u'0');
        }
        return value;
    };
    if (text.at(4) != QLatin1Char('-') || text.at(7) != QLatin1Char('-'))
        return std::nullopt;
    const int year = number(0, 4);
    const int month = number(5, 2);
    const int day = number(8, 2);
    if (year < 0 || month < 0 || day < 0)
        return std::nullopt;
    QTime time(0, 0);
    if (size == 19) {
        if (text.at(10) != QLatin1Char(' ') || text.at(13) != QLatin1Char(':') || text.at(16) != QLatin1Char(':'))
            return std::nullopt;
        const int hour = number(11, 2);
        const int minute = number(14, 2);
        const int second = number(17, 2);
        if (hour < 0 || minute < 0 || second < 0)
            return std::nullopt;
        time = QTime(hour, minute, second);
    }
    const QDate date(year, month, day);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return QDateTime(date, time, Qt::UTC);
}

} // namespace engine
