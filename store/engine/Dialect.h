#pragma once

#include "store/engine/TranslatedStatement.h"

#include <QDateTime>
#include <QString>

#include <optional>

namespace engine {

// The statement dialect the program writes, turned into plain SQL:
// - 'text' literals ('' inside stands for one apostrophe) become parameters;
// - #date# literals become date parameters. Accepted forms: yyyy-m-d,
//   yyyy/m/d, m/d/yyyy and d.m.yyyy, each optionally followed by a time of day
//   h:mm or h:mm:ss (with AM/PM allowed). "##" inside stands for one '#',
//   which no date holds, so such a literal is simply not a date;
// - "Delete * from" becomes "DELETE FROM".
// Double-quoted and [bracketed] names pass through untouched. Identifiers keep
// their case; the bindings compare names without regard to case.
class Dialect {
public:
    // Throws EngineError for an unterminated literal and for a date literal
    // that is empty or not a date.
    static TranslatedStatement Translate(const QString& statement);

    // The contents of a date literal (between the # signs) as a date and time.
    static std::optional<QDateTime> ParseDateLiteral(const QString& text);

    // The stored form of a date: "yyyy-mm-dd", plus " hh:mm:ss" when the time
    // is not midnight. It sorts and compares as text in time order.
    static QString StorageText(const QDateTime& value);
    static std::optional<QDateTime> ParseStorageText(const QString& text);
};

} // namespace engine
