#pragma once

#include <QDateTime>
#include <QString>

// Names of backup files and their paths.
class BackupFileName {
public:
    // "Backup" + yyyyMMddHHmmss of the given local time + ".dat", 24
    // characters, e.g. "Backup20240305140709.dat".
    static QString For(const QDateTime& localTime);
    // The folder and the name with exactly one "/" between them; a folder
    // that already ends in "/" (such as "/") gets none added. An empty
    // folder gives the name alone.
    static QString Join(const QString& folder, const QString& name);
};
