#include "registration/ScanPayload.h"

#include "text/SplitFields.h"

namespace {

constexpr qsizetype kMinimumFields = 7;
constexpr qsizetype kFieldsWithCheckBit = 8;
constexpr qsizetype kCheckCodeLength = 6;
constexpr qsizetype kDigitalInvoiceNumberLength = 20;

} // namespace

bool IsDigitalInvoiceNumber(const QString& number)
{
    if (number.size() != kDigitalInvoiceNumberLength)
        return false;
    for (const QChar c : number) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

namespace {

// yyyymmdd becomes yyyy-mm-dd; any other length gives no date at all.
QString DateFromPayload(const QString& text)
{
    if (text.size() != 8)
        return {};
    return text.left(4) + u'-' + text.mid(4, 2) + u'-' + text.mid(6, 2);
}

} // namespace

bool ParseScanPayload(const QString& payload, InvoiceRecord& invoice)
{
    if (payload.isEmpty() || !payload.contains(u','))
        return false;

    QStringList fields;
    SplitFields(payload, QStringLiteral(","), fields, 1);
    if (fields.size() < kMinimumFields)
        return false;
    if (fields[2].isEmpty() && !IsDigitalInvoiceNumber(fields[3]))
        return false;

    InvoiceRecord scanned;
    scanned.TopType = fields[0];
    scanned.SubType = fields[1];
    scanned.Code = fields[2];
    scanned.Number = fields[3];
    scanned.Value = fields[4];
    scanned.CheckCode = fields[6].size() >= kCheckCodeLength ? fields[6].right(kCheckCodeLength) : fields[6];
    if (fields.size() == kFieldsWithCheckBit)
        scanned.CheckBit = fields[7];
    scanned.Date = DateFromPayload(fields[5]);

    invoice = scanned;
    return true;
}
