#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

class CAdoConnection;

// Writes every stored invoice into a backup file: one line per row of
// "Select * from invoice", in the order the database gives them, appended
// when the file exists already. Dates are written as yyyy-mm-dd. A row with
// a value the format cannot carry (a comma, a line break, a character above
// U+00FF) is skipped and counted: a line that would read back shifted or
// altered is never written. The first failed write ends the export; lines
// reach the file whole or not at all.
class InvoiceExporter {
public:
    enum class Outcome {
        Done,        // every row was handled (written or skipped)
        QueryFailed, // the query failed; the connection has shown why
        ReadFailed,  // a row could not be read (Error says why)
        FileFailed   // the file could not be opened or written (Error says why)
    };

    struct Result {
        Outcome outcome = Outcome::Done;
        int32_t rowsWritten = 0;
        int32_t rowsSkipped = 0;
        // Why rows were skipped, each reason once, in the order first met.
        QStringList skipReasons;
        QString error;
    };

    // Called with the share of rows handled, in whole per cent, when it
    // changes; 100 comes at the last row, before that row's line is written.
    using Progress = std::function<void(int percent)>;

    static Result Export(CAdoConnection& connection, const QString& path, const Progress& progress);
};
