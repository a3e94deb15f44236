#pragma once

#include <QString>

// The texts of one listed invoice, in the order of the result list's columns 1 to 8.
struct QueryRow {
    QString Code;
    QString Number;
    QString Value;
    QString Date;
    QString OpDate;
    QString TypeName;
    QString Backup;
    QString CheckCode;
};
