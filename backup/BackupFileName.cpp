#include "backup/BackupFileName.h"

QString BackupFileName::For(const QDateTime& localTime)
{
    return QStringLiteral("Backup") + localTime.toString(QStringLiteral("yyyyMMddHHmmss")) +
           QStringLiteral(".dat");
}

QString BackupFileName::Join(const QString& folder, const QString& name)
{
    if (folder.isEmpty())
        return name;
    if (folder.endsWith(QLatin1Char('/')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}
