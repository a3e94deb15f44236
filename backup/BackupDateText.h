#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

// Writes dates into backup files in one fixed form, whatever the regional
// settings: "yyyy-mm-dd", plus " hh:mm:ss" when the time is not midnight.
// The import hands the text to the database as a date literal, which takes
// this form as well as the regional forms of older files.
class BackupDateText {
public:
    // An invalid date gives a null text (an empty field).
    static QString Format(const QDate& date);
    // The time of day is appended only when it is not midnight; milliseconds
    // are dropped. An invalid value gives a null text.
    static QString Format(const QDateTime& dateTime);
};
