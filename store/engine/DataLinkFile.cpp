#include "store/engine/DataLinkFile.h"

#include "store/engine/EngineError.h"

#include <QFile>
#include <QStringConverter>
#include <QStringDecoder>

namespace engine {

QString DataLinkFile::ReadConnectionString(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EngineError(QStringLiteral("Cannot open the data link file '%1'.").arg(path));
    const QByteArray bytes = file.readAll();

    const auto encoding = QStringConverter::encodingForData(bytes);
    QStringDecoder decoder(encoding.value_or(QStringConverter::Utf8));
    const QString text = decoder.decode(bytes);

    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';'))
            || line.compare(QLatin1String("[oledb]"), Qt::CaseInsensitive) == 0)
            continue;
        return line;
    }
    throw EngineError(QStringLiteral("The data link file '%1' holds no connection string.").arg(path));
}

} // namespace engine
