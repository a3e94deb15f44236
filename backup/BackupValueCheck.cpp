#include "backup/BackupValueCheck.h"

namespace {

BackupValueCheck::Problem Scan(QStringView text, bool allowSeparator)
{
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c == u',' && !allowSeparator)
            return BackupValueCheck::Problem::Separator;
        if (c == u'\r' || c == u'\n')
            return BackupValueCheck::Problem::LineBreak;
        if (c > 0xFF)
            return BackupValueCheck::Problem::WideCharacter;
    }
    return BackupValueCheck::Problem::None;
}

} // namespace

BackupValueCheck::Problem BackupValueCheck::Check(QStringView value)
{
    return Scan(value, false);
}

BackupValueCheck::Problem BackupValueCheck::CheckAll(const QStringList& values)
{
    for (const QString& value : values) {
        const Problem problem = Check(value);
        if (problem != Problem::None)
            return problem;
    }
    return Problem::None;
}

BackupValueCheck::Problem BackupValueCheck::CheckLine(QStringView line)
{
    return Scan(line, true);
}

QString BackupValueCheck::Describe(Problem problem)
{
    switch (problem) {
    case Problem::None:
        return QString();
    case Problem::Separator:
        return QStringLiteral("内容含有逗号");
    case Problem::LineBreak:
        return QStringLiteral("内容含有换行符");
    case Problem::WideCharacter:
        return QStringLiteral("内容含有汉字等无法写入备份文件的字符");
    }
    return QString();
}
