#include "backup/BackupDateText.h"

QString BackupDateText::Format(const QDate& date)
{
    if (!date.isValid())
        return QString();
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

QString BackupDateText::Format(const QDateTime& dateTime)
{
    if (!dateTime.isValid())
        return QString();
    const QTime time = dateTime.time();
    if (time.hour() == 0 && time.minute() == 0 && time.second() == 0)
        return Format(dateTime.date());
    return dateTime.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}
