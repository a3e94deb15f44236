#pragma once

#include <chrono>

// The pause between reading an import file and storing its invoices: one
// second in the program, so the clerk sees the read part of the bar before
// the dialog closes. Tests may shorten it; the setting is process-wide.
class ImportPause {
public:
    static std::chrono::milliseconds Length();
    static void SetLength(std::chrono::milliseconds length);
    // Sleeps the calling thread for Length().
    static void Sleep();

    static constexpr std::chrono::milliseconds kDefaultLength{1000};
};
