#pragma once

#include <QPair>
#include <QSet>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

class CAdoConnection;

// Reads a backup file and stores the invoices that are not stored yet, all
// in one transaction. Nothing is stored unless the whole file was read
// without a format error. An invoice on several lines of one file is new
// only on its first line; later lines count as duplicates.
//
// Use: ReadFile; when it answers 0, Store. Each gives the result code.
class InvoiceImporter {
public:
    // Result codes, as the clerk is told them.
    static constexpr int kFormatError = 1; // a line has fewer than eleven fields
    static constexpr int kNoLines = 2;     // the file holds no line at all
    static constexpr int kAllStored = 3;   // every invoice is stored already
    static constexpr int kStored = 4;      // the new invoices were stored
    static constexpr int kStoreFailed = 5; // storing failed; nothing was stored
    static constexpr int kOpenFailed = 6;  // the file cannot be opened or read

    // True when an invoice with that code and number is stored.
    using Lookup = std::function<bool(const QString& code, const QString& number)>;
    // The share of the file read, 0 to 50 per cent, when it changes.
    using Progress = std::function<void(int percent)>;

    explicit InvoiceImporter(CAdoConnection& connection);

    // Reads every line, looking each invoice up with `isStored` (the
    // connection's lookup when empty) and gathering the insert statements of
    // the new ones. 0 when the whole file was read, else kFormatError or
    // kOpenFailed (the statements are dropped then).
    int ReadFile(const QString& path, const Lookup& isStored, const Progress& progress);
    // Stores the gathered invoices in one transaction: kStored or
    // kStoreFailed (the connection has shown why), or, with nothing new,
    // kAllStored or kNoLines.
    int Store();

    int32_t LinesRead() const { return m_nLines; }
    int32_t NewInvoices() const { return m_nNew; }
    int32_t Duplicates() const { return m_nDuplicates; }

    // The import's lookup: true when a stored row has this code and number.
    // A failed query (shown by the connection) answers false.
    static bool IsStored(CAdoConnection& connection, const QString& code, const QString& number);

private:
    CAdoConnection& m_connection;
    int32_t m_nLines = 0;
    int32_t m_nNew = 0;
    int32_t m_nDuplicates = 0;
    QStringList m_statements;
    // Code and number of every new invoice of the file.
    QSet<QPair<QString, QString>> m_newKeys;
};
