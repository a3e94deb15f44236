#pragma once

#include <QString>
#include <QStringList>

// The insert statement that stores the invoice of one backup line: the
// catalogue's import statement with the line's eleven fields (BackupField
// order) in its places, escaped so that no value changes its structure. A
// date field left empty stores no date (Null): an empty date literal would
// make the database refuse the whole import.
class ImportStatement {
public:
    static QString Build(const QStringList& fields);
};
