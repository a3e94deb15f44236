#include "bench/SampleInvoices.h"

QString SampleInvoiceInsert(int i, const QString& remarkLiteral)
{
    const QString date = QStringLiteral("%1-%2-%3")
                             .arg(2019 + i % 6)
                             .arg(1 + i % 12, 2, 10, QLatin1Char('0'))
                             .arg(1 + i % 28, 2, 10, QLatin1Char('0'));
    return QStringLiteral("INSERT INTO INVOICE(INV_TOPTYPE, INV_SUBTYPE, INV_CODE, INV_NUMBER, "
                          "INV_VALUE, INV_DATE, INV_CHECKCODE, INV_CHECKBIT, INV_OPDATE, INV_STATUS, "
                          "IS_AUTOSCAN, INV_BACKUP) VALUES('01', '10', '%1', '%2', '%3', #%4#, '%5', "
                          "'', #2024-06-30#, '1', '1', %6)")
        .arg(QStringLiteral("1440319%1").arg(i / 1000, 5, 10, QLatin1Char('0')))
        .arg(i, 8, 10, QLatin1Char('0'))
        .arg(QString::number(10 + i % 5000) + QStringLiteral(".50"))
        .arg(date)
        .arg(100000 + i % 900000)
        .arg(remarkLiteral);
}

QString SampleRemarkLiteral(int i)
{
    return QStringLiteral("'报销人 %1'").arg(i % 97);
}
