#include "ui/kit/AttributeParsing.h"

#include <QStringList>

namespace kit {
namespace {

QList<int> ParseInts(const QString& value)
{
    QList<int> numbers;
    for (const QString& part : value.split(QLatin1Char(','))) {
        bool ok = false;
        const int n = part.trimmed().toInt(&ok);
        numbers.append(ok ? n : 0);
    }
    return numbers;
}

} // namespace

DWORD ParseColor(const QString& value)
{
    QString text = value.trimmed();
    if (text.startsWith(QLatin1Char('#')))
        text.remove(0, 1);
    else if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        text.remove(0, 2);
    bool ok = false;
    const uint color = text.toUInt(&ok, 16);
    if (!ok)
        return 0;
    if (text.size() <= 6)
        return 0xFF000000u | color;
    return color;
}

bool ParseBool(const QString& value)
{
    const QString text = value.trimmed();
    return text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 || text == QLatin1String("1");
}

int ParseInt(const QString& value, int fallback)
{
    bool ok = false;
    const int n = value.trimmed().toInt(&ok);
    return ok ? n : fallback;
}

QSize ParseSize(const QString& value)
{
    const QList<int> n = ParseInts(value);
    return QSize(n.value(0), n.value(1));
}

QMargins ParseMargins(const QString& value)
{
    const QList<int> n = ParseInts(value);
    return QMargins(n.value(0), n.value(1), n.value(2), n.value(3));
}

QRect ParseRect(const QString& value)
{
    const QList<int> n = ParseInts(value);
    return QRect(QPoint(n.value(0), n.value(1)), QSize(n.value(2) - n.value(0), n.value(3) - n.value(1)));
}

} // namespace kit
