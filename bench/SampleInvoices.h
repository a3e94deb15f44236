#pragma once

#include <QString>

// The insert statement of sample invoice `i` of a benchmark's register:
// invoice dates spread over six years, a thousand invoices per code, values
// and check codes that vary, registered on 2024-06-30. `remarkLiteral` is
// the remark column's SQL literal ('…' or NULL).
QString SampleInvoiceInsert(int i, const QString& remarkLiteral);

// The remark most sample invoices carry, as an SQL literal.
QString SampleRemarkLiteral(int i);
