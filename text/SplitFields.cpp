#include "text/SplitFields.h"

bool SplitFields(QString text, const QString& separator, QStringList& fields, int step)
{
    if (text.isEmpty() || separator.isEmpty())
        return false;

    // A step below one would find the same separator for ever.
    if (step < 1)
        step = static_cast<int>(separator.size());

    fields.clear();
    qsizetype start = 0;
    for (;;) {
        const qsizetype found = start < text.size() ? text.indexOf(separator, start) : -1;
        if (found < 0) {
            if (start < text.size())
                fields.append(text.mid(start).trimmed());
            break;
        }
        fields.append(text.mid(start, found - start).trimmed());
        start = found + step;
    }
    return true;
}
