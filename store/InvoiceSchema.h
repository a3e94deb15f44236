#pragma once

#include "store/engine/ProviderKind.h"

#include <QString>
#include <QStringList>

// Creates a new invoice database at `path`, encrypted with the program's
// password: tables INVOICE and config, the config row 1 with an empty
// address, an index on the invoice date and a unique index on invoice code
// plus number. Never touches an existing file. On failure returns false,
// leaves no file behind and, when `error` is given, says why.
bool CreateInvoiceDatabase(const QString& path, QString* error = nullptr);

// Creates the same schema in the database a connection string names, all of
// it or nothing. For "Provider=PostgreSQL;..." the database must exist (the
// server's administrator makes it) and hold no table yet; one that does is
// refused and left untouched. For the file binding this is
// CreateInvoiceDatabase on the file the string names.
bool CreateInvoiceSchema(const QString& connectionString, QString* error = nullptr);

// The statements that build the schema in a new, empty database. Date
// columns are DATETIME in the file and timestamp on the server: both compare
// with the date parameters the statements' #...# literals become.
QStringList InvoiceSchemaStatements(engine::ProviderKind kind = engine::ProviderKind::SqlCipher);
