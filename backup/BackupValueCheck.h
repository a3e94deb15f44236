#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// Tells whether values survive a trip through a backup file unchanged. The
// format has no escapes and stores one byte per character, so a value with a
// separator, a line break or a character above U+00FF would shift fields,
// split the line or be mangled.
class BackupValueCheck {
public:
    enum class Problem {
        None,
        Separator,     // holds ","
        LineBreak,     // holds CR or LF
        WideCharacter  // holds a character above U+00FF
    };

    // The first problem found in the value, scanning from its start.
    static Problem Check(QStringView value);
    // The first problem of the first value that has one.
    static Problem CheckAll(const QStringList& values);
    // As Check, for a composed line: its separators are allowed.
    static Problem CheckLine(QStringView line);
    // A short text for the clerk naming the problem; empty for None.
    static QString Describe(Problem problem);
};
