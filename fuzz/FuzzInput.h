#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>

// Turns fuzz bytes into text. The first byte picks the reading, so one
// corpus covers ASCII as a scanner types it, Latin-1 as a backup file holds
// it, UTF-8, and raw UTF-16 with lone surrogates; the rest is the text.
class FuzzInput {
public:
    static QString Text(const uint8_t* data, size_t size);
};
