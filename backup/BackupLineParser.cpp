#include "backup/BackupLineParser.h"

#include "backup/BackupField.h"
#include "text/SplitFields.h"

bool BackupLineParser::Parse(const QString& line, QStringList& fields)
{
    fields.clear();
    // An empty line is not split at all: it simply has no fields.
    if (!SplitFields(line.trimmed(), QStringLiteral(","), fields, 1) ||
        fields.size() < BackupFieldCount) {
        fields.clear();
        return false;
    }
    fields.resize(BackupFieldCount);
    return true;
}
