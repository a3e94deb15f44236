#include "store/engine/ConnectionString.h"

namespace engine {

ConnectionString ConnectionString::Parse(const QString& text)
{
    ConnectionString result;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        const qsizetype equals = text.indexOf(QLatin1Char('='), i);
        const qsizetype semicolon = text.indexOf(QLatin1Char(';'), i);
        if (equals < 0 || (semicolon >= 0 && semicolon < equals)) {
            // A part without '=' names nothing; skip it.
            if (semicolon < 0)
                break;
            i = semicolon + 1;
            continue;
        }
        const QString keyword = text.mid(i, equals - i).trimmed();
        i = equals + 1;
        while (i < n && text.at(i).isSpace())
            ++i;

        QString value;
        if (i < n && (text.at(i) == QLatin1Char('"') || text.at(i) == QLatin1Char('\''))) {
            const QChar quote = text.at(i++);
            while (i < n) {
                if (text.at(i) == quote) {
                    if (i + 1 < n && text.at(i + 1) == quote) {
                        value += quote;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                value += text.at(i++);
            }
            const qsizetype end = text.indexOf(QLatin1Char(';'), i);
            i = end < 0 ? n : end + 1;
        } else {
            const qsizetype end = text.indexOf(QLatin1Char(';'), i);
            value = text.mid(i, end < 0 ? -1 : end - i).trimmed();
            i = end < 0 ? n : end + 1;
        }
        if (!keyword.isEmpty())
            result.SetValue(keyword, value);
    }
    return result;
}

bool ConnectionString::Contains(const QString& keyword) const
{
    for (const auto& pair : m_pairs) {
        if (pair.first.compare(keyword, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QString ConnectionString::Value(const QString& keyword) const
{
    for (const auto& pair : m_pairs) {
        if (pair.first.compare(keyword, Qt::CaseInsensitive) == 0)
            return pair.second;
    }
    return QString();
}

void ConnectionString::SetValue(const QString& keyword, const QString& value)
{
    for (auto& pair : m_pairs) {
        if (pair.first.compare(keyword, Qt::CaseInsensitive) == 0) {
            pair.second = value;
            return;
        }
    }
    m_pairs.append({keyword, value});
}

QString ConnectionString::QuoteValue(const QString& value)
{
    const bool needsQuotes = value.contains(QLatin1Char(';'))
        || value.startsWith(QLatin1Char('"')) || value.startsWith(QLatin1Char('\''))
        || value != value.trimmed();
    if (!needsQuotes)
        return value;
    QString quoted = value;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace engine
