#include "backup/BackupDateText.h"

namespace {

// Appends `value` with `digits` digits, zeros in front.
void AppendDigits(char*& out, int value, int digits)
{
    for (int i = digits - 1; i >= 0; --i) {
        out[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    out += digits;
}

// Exports write two dates per invoice: this avoids the general formatter.
QString Text(const QDate& date, const QTime* time)
{
    int year = 0;
    int month = 0;
    int day = 0;
    date.getDate(&year, &month, &day);
    if (year < 1 || year > 9999)
        return time ? QDateTime(date, *time).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                    : date.toString(QStringLiteral("yyyy-MM-dd"));
    char buffer[20];
    char* out = buffer;
    AppendDigits(out, year, 4);
    *out++ = '-';
    AppendDigits(out, month, 2);
    *out++ = '-';
    AppendDigits(out, day, 2);
    if (time) {
        *out++ = ' ';
        AppendDigits(out, time->hour(), 2);
        *out++ = ':';
        AppendDigits(out, time->minute(), 2);
        *out++ = ':';
        AppendDigits(out, time->second(), 2);
    }
    return QString::fromLatin1(buffer, out - buffer);
}

} // namespace

QString BackupDateText::Format(const QDate& date)
{
    if (!date.isValid())
        return QString();
    return Text(date, nullptr);
}

QString BackupDateText::Format(const QDateTime& dateTime)
{
    if (!dateTime.isValid())
        return QString();
    const QTime time = dateTime.time();
    if (time.hour() == 0 && time.minute() == 0 && time.second() == 0)
        return Text(dateTime.date(), nullptr);
    return Text(dateTime.date(), &time);
}
