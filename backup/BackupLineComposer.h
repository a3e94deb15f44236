#pragma once

#include <QString>
#include <QStringList>

// Builds the text of one backup line (without its line end).
class BackupLineComposer {
public:
    // Joins the eleven values of BackupField order with ",". A null or empty
    // value gives an empty field; a missing value counts as null and values
    // past the eleventh are dropped, so the line always has ten separators.
    // Nothing is escaped: check the values with BackupValueCheck first.
    static QString Compose(const QStringList& values);
};
