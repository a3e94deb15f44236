#include "backup/BackupLineComposer.h"

#include "backup/BackupField.h"

QString BackupLineComposer::Compose(const QStringList& values)
{
    QString line;
    for (int i = 0; i < BackupFieldCount; ++i) {
        if (i < values.size())
            line += values.at(i);
        if (i + 1 < BackupFieldCount)
            line += QLatin1Char(',');
    }
    return line;
}
