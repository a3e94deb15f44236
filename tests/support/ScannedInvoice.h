#pragma once

#include <QFile>
#include <QList>
#include <QString>

// An invoice as desk tests scan it: its code and number, and the payload a
// scanner types for it (seven fields).
struct ScannedInvoice {
    QString code;
    QString number;

    QString Key() const { return code + QLatin1Char('/') + number; }
    QString Payload() const
    {
        return QStringLiteral("01,04,%1,%2,%3.00,20240105,12345678901234567890").arg(code, number, number.right(3));
    }
};

// A desk program's input: one payload a line. Returns `path`, or an empty
// text when the file cannot be written.
inline QString WritePayloadFile(const QString& path, const QList<ScannedInvoice>& invoices)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    for (const ScannedInvoice& invoice : invoices) {
        if (file.write(invoice.Payload().toLatin1() + '\n') < 0)
            return QString();
    }
    return path;
}
