// Field splitting against a plain reading of its rules, for the separator
// and step its callers use; other separators and steps must merely end.
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzInput.h"
#include "text/SplitFields.h"

#include <QStringList>

namespace {

// Every piece between commas, trimmed; a comma that ends the text adds no
// empty last field, while blanks after it do.
QStringList ExpectedFields(const QString& text)
{
    QStringList fields;
    for (const QString& piece : text.split(QLatin1Char(',')))
        fields.append(piece.trimmed());
    if (text.endsWith(QLatin1Char(',')))
        fields.removeLast();
    return fields;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = FuzzInput::Text(data, size);
    const QStringList untouched{QStringLiteral("kept")};

    QStringList fields = untouched;
    const bool split = SplitFields(text, QStringLiteral(","), fields, 1);
    if (text.isEmpty()) {
        FUZZ_CHECK(!split);
        FUZZ_CHECK(fields == untouched);
    } else {
        FUZZ_CHECK(split);
        FUZZ_CHECK(fields == ExpectedFields(text));
    }

    // Other separators and steps, the degenerate ones included.
    if (size >= 2) {
        const QString separator = text.left(1 + data[1] % 3);
        const int step = static_cast<int>(static_cast<int8_t>(data[size - 1])) % 8;
        QStringList other;
        SplitFields(text, separator, other, step);
        for (const QString& field : other)
            FUZZ_CHECK(field == field.trimmed());
    }
    return 0;
}
