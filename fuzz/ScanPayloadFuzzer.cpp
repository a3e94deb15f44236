// The scanner payload parser: whatever the scanner types, it accepts exactly
// the payloads with seven fields and an invoice code (or a fully digital
// e-invoice's number), fills only the scanned fields, and leaves the invoice
// untouched otherwise.
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzInput.h"
#include "registration/ScanPayload.h"
#include "text/SplitFields.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString payload = FuzzInput::Text(data, size);

    InvoiceRecord invoice;
    invoice.Code = QStringLiteral("before");
    invoice.OpDate = QStringLiteral("2001-01-01");
    invoice.Backup = QStringLiteral("remark");
    const InvoiceRecord before = invoice;

    const bool accepted = ParseScanPayload(payload, invoice);

    QStringList fields;
    const bool expected = payload.contains(QLatin1Char(',')) && SplitFields(payload, QStringLiteral(","), fields, 1)
        && fields.size() >= 7 && (!fields[2].isEmpty() || IsDigitalInvoiceNumber(fields[3]));
    FUZZ_CHECK(accepted == expected);

    if (!accepted) {
        FUZZ_CHECK(invoice.Code == before.Code && invoice.OpDate == before.OpDate
                   && invoice.Backup == before.Backup && invoice.Number.isEmpty());
        return 0;
    }
    FUZZ_CHECK(invoice.TopType == fields[0] && invoice.SubType == fields[1]);
    FUZZ_CHECK(invoice.Code == fields[2] && invoice.Number == fields[3] && invoice.Value == fields[4]);
    FUZZ_CHECK(invoice.CheckCode.size() <= 6 && fields[6].endsWith(invoice.CheckCode));
    FUZZ_CHECK(invoice.CheckBit == (fields.size() == 8 ? fields[7] : QString()));
    FUZZ_CHECK(invoice.Date.isEmpty() || (invoice.Date.size() == 10 && invoice.Date[4] == QLatin1Char('-')
                                          && invoice.Date[7] == QLatin1Char('-')));
    FUZZ_CHECK(invoice.Date.isEmpty() == (fields[5].size() != 8));
    FUZZ_CHECK(invoice.OpDate.isEmpty() && invoice.Backup.isEmpty());
    for (const QString* field : {&invoice.TopType, &invoice.Code, &invoice.Number, &invoice.CheckBit})
        FUZZ_CHECK(!field->contains(QLatin1Char(',')));
    return 0;
}
