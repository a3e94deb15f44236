#include "backup/ImportStatement.h"

#include "backup/BackupField.h"
#include "store/Statements.h"

#include <QVariantList>

#include <array>

namespace {

// The catalogue's import statement with the date literals flagged in
// `noDate` replaced by Null. Its two date literals are, in order, those of
// the invoice date (bit 0) and of the registration date (bit 1).
QString PatternWithout(int noDate)
{
    const QString& pattern = Statements::InsertImportedInvoice;
    const QLatin1StringView dateLiteral("#%s#");
    QString text;
    qsizetype from = 0;
    int date = 0;
    for (qsizetype at = pattern.indexOf(dateLiteral); at >= 0; at = pattern.indexOf(dateLiteral, from), ++date) {
        text += QStringView(pattern).mid(from, at - from);
        text += (noDate & (1 << date)) ? QStringLiteral("Null") : QString(dateLiteral);
        from = at + dateLiteral.size();
    }
    text += QStringView(pattern).mid(from);
    return text;
}

} // namespace

QString ImportStatement::Build(const QStringList& fields)
{
    static const std::array<QString, 4> patterns = {PatternWithout(0), PatternWithout(1), PatternWithout(2),
                                                    PatternWithout(3)};
    const int noDate = (fields.value(BackupDate).isEmpty() ? 1 : 0) | (fields.value(BackupOpDate).isEmpty() ? 2 : 0);
    QVariantList values;
    values.reserve(BackupFieldCount);
    for (int field = 0; field < BackupFieldCount; ++field) {
        const bool leftOut = (field == BackupDate && (noDate & 1)) || (field == BackupOpDate && (noDate & 2));
        if (!leftOut)
            values.append(fields.value(field));
    }
    return Statements::Format(patterns[static_cast<size_t>(noDate)], values);
}
