#pragma once

#include <QString>
#include <QStringList>

// Creates a new invoice database at `path`, encrypted with the program's
// password: tables INVOICE and config, the config row 1 with an empty
// address, an index on the invoice date and a unique index on invoice code
// plus number. Never touches an existing file. On failure returns false,
// leaves no file behind and, when `error` is given, says why.
bool CreateInvoiceDatabase(const QString& path, QString* error = nullptr);

// The statements that build the schema in a new, empty database.
QStringList InvoiceSchemaStatements();
