#include "fuzz/FuzzInput.h"

QString FuzzInput::Text(const uint8_t* data, size_t size)
{
    if (size == 0)
        return QString();
    const auto* bytes = reinterpret_cast<const char*>(data + 1);
    const auto length = static_cast<qsizetype>(size - 1);
    switch (data[0] % 4) {
    case 0:
        return QString::fromLatin1(bytes, length);
    case 1:
        return QString::fromUtf8(bytes, length);
    case 2: {
        QString text(length / 2, Qt::Uninitialized);
        for (qsizetype i = 0; i < text.size(); ++i)
            text[i] = QChar(static_cast<char16_t>(data[1 + 2 * i] | (data[2 + 2 * i] << 8)));
        return text;
    }
    default: {
        // ASCII only: the high bit is dropped.
        QString text(length, Qt::Uninitialized);
        for (qsizetype i = 0; i < length; ++i)
            text[i] = QChar(static_cast<char16_t>(data[1 + i] & 0x7f));
        return text;
    }
    }
}
