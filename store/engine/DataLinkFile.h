#pragma once

#include <QString>

namespace engine {

// A data link file: a text file (UTF-16 or UTF-8, with or without a byte
// order mark) whose first line that is neither empty, a ";" comment nor the
// "[oledb]" section header is the connection string.
class DataLinkFile {
public:
    // Throws EngineError when the file cannot be read or holds no string.
    static QString ReadConnectionString(const QString& path);
};

} // namespace engine
