#pragma once

#include <QString>

// The invoice being typed or scanned; every text is empty when cleared.
struct InvoiceRecord {
    QString TopType;
    QString SubType;
    QString Code;
    QString Number;
    QString Value;
    QString Date;      // yyyy-mm-dd, or empty
    QString CheckCode;
    QString OpDate;    // registration day of a stored duplicate
    QString CheckBit;
    QString Backup;    // the clerk's remark

    void Clear() { *this = InvoiceRecord{}; }
};
