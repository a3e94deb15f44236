#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

#include <variant>

namespace engine {

// A value read from or given to the database. Null stands for a column that
// holds no value. Dates carry no time zone: they are kept as UTC date and
// time of day, so that no daylight-saving rule can shift them.
class Variant {
public:
    enum class Type { Null, Text, Integer, Real, DateTime };

    Variant() = default; // null

    static Variant FromText(const QString& text);
    static Variant FromInteger(qint64 value);
    static Variant FromReal(double value);
    static Variant FromDateTime(const QDateTime& value);
    static Variant FromDate(const QDate& date);

    Type GetType() const;
    bool IsNull() const { return GetType() == Type::Null; }
    bool IsDate() const { return GetType() == Type::DateTime; }

    // The value as the user reads it, in the system locale. Null gives an
    // empty text; a date gives the locale's short date with a four-digit year
    // (yyyy-mm-dd in the C locale), then " " and hh:mm:ss when the time is not
    // midnight.
    QString ToText() const;
    QString ToText(const QLocale& locale) const;

    // The typed value: an invalid QDateTime unless IsDate(); 0 for a value
    // that is neither a number nor a numeric text.
    QDateTime ToDateTime() const;
    qint64 ToInteger() const;
    double ToReal() const;

    bool operator==(const Variant& other) const = default;

private:
    struct DateTimeValue {
        QDateTime value;
        bool operator==(const DateTimeValue& other) const = default;
    };
    using Storage = std::variant<std::monostate, QString, qint64, double, DateTimeValue>;

    explicit Variant(Storage storage);

    Storage m_value;
};

} // namespace engine
