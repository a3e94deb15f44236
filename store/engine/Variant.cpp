#include "store/engine/Variant.h"

#include <QHash>
#include <QRegularExpression>

namespace engine {
namespace {

// The locale's short date with every year field widened to four digits.
QString ShortDateFormat(const QLocale& locale)
{
    if (locale.language() == QLocale::C)
        return QStringLiteral("yyyy-MM-dd");
    static const QRegularExpression yearField(QStringLiteral("y+"));
    QString format = locale.dateFormat(QLocale::ShortFormat);
    format.replace(yearField, QStringLiteral("yyyy"));
    return format;
}

// The short date text of `date`. Formatting through QLocale works out the
// pattern and parses it again for every value, which dominated reading large
// results; a result holds few distinct days, so each thread keeps the texts
// it made for the locale it last used.
QString ShortDateText(const QDate& date, const QLocale& locale)
{
    struct Texts {
        QLocale locale = QLocale::c();
        QString format = ShortDateFormat(QLocale::c());
        QHash<qint64, QString> byDay;
    };
    constexpr qsizetype kMaxDays = 8192;
    thread_local Texts texts;
    if (texts.locale != locale) {
        texts.locale = locale;
        texts.format = ShortDateFormat(locale);
        texts.byDay.clear();
    }
    const qint64 day = date.toJulianDay();
    const auto known = texts.byDay.constFind(day);
    if (known != texts.byDay.constEnd())
        return known.value();
    if (texts.byDay.size() >= kMaxDays)
        texts.byDay.clear();
    const QString text = locale.toString(date, texts.format);
    texts.byDay.insert(day, text);
    return text;
}

} // namespace

Variant::Variant(Storage storage)
    : m_value(std::move(storage))
{
}

Variant Variant::FromText(const QString& text)
{
    return Variant(Storage(std::in_place_type<QString>, text));
}

Variant Variant::FromInteger(qint64 value)
{
    return Variant(Storage(std::in_place_type<qint64>, value));
}

Variant Variant::FromReal(double value)
{
    return Variant(Storage(std::in_place_type<double>, value));
}

Variant Variant::FromDateTime(const QDateTime& value)
{
    if (!value.isValid())
        return Variant();
    return Variant(Storage(DateTimeValue{QDateTime(value.date(), value.time(), Qt::UTC)}));
}

Variant Variant::FromDate(const QDate& date)
{
    return FromDateTime(QDateTime(date, QTime(0, 0), Qt::UTC));
}

Variant::Type Variant::GetType() const
{
    switch (m_value.index()) {
    case 1: return Type::Text;
    case 2: return Type::Integer;
    case 3: return Type::Real;
    case 4: return Type::DateTime;
    default: return Type::Null;
    }
}

QString Variant::ToText() const
{
    return ToText(QLocale::system());
}

QString Variant::ToText(const QLocale& locale) const
{
    switch (GetType()) {
    case Type::Null:
        return QString();
    case Type::Text:
        return std::get<QString>(m_value);
    case Type::Integer:
        return QString::number(std::get<qint64>(m_value));
    case Type::Real:
        return QString::number(std::get<double>(m_value), 'g', 15);
    case Type::DateTime: {
        const QDateTime& value = std::get<DateTimeValue>(m_value).value;
        QString text = ShortDateText(value.date(), locale);
        if (value.time() != QTime(0, 0))
            text += QLatin1Char(' ') + value.time().toString(QStringLiteral("HH:mm:ss"));
        return text;
    }
    }
    return QString();
}

QDateTime Variant::ToDateTime() const
{
    if (!IsDate())
        return QDateTime();
    return std::get<DateTimeValue>(m_value).value;
}

qint64 Variant::ToInteger() const
{
    switch (GetType()) {
    case Type::Integer:
        return std::get<qint64>(m_value);
    case Type::Real:
        return static_cast<qint64>(std::get<double>(m_value));
    case Type::Text:
        return std::get<QString>(m_value).trimmed().toLongLong();
    default:
        return 0;
    }
}

double Variant::ToReal() const
{
    switch (GetType()) {
    case Type::Integer:
        return static_cast<double>(std::get<qint64>(m_value));
    case Type::Real:
        return std::get<double>(m_value);
    case Type::Text:
        return std::get<QString>(m_value).trimmed().toDouble();
    default:
        return 0;
    }
}

} // namespace engine
