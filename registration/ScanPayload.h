#pragma once

#include "registration/InvoiceRecord.h"

#include <QString>

// Reads the comma-separated payload that a keyboard-wedge scanner types from
// an invoice's QR code. Returns false, leaving `invoice` untouched, when the
// payload is not one: no comma, fewer than seven fields, or no invoice code
// (a fully digital e-invoice has none, and is recognised by its 20-digit
// number instead). On success `invoice` holds the scanned fields and nothing
// else.
bool ParseScanPayload(const QString& payload, InvoiceRecord& invoice);

// A fully digital e-invoice carries no invoice code; its number has exactly
// 20 decimal digits.
bool IsDigitalInvoiceNumber(const QString& number);
