#include "app/GetModuleDirectory.h"

#include <QFile>

QString GetModuleDirectory()
{
    // The kernel's link to our own image names the executable even when it
    // was started through a relative path or a symbolic link.
    const QString path = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash >= 0 ? path.left(slash + 1) : path;
}
