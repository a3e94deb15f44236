#pragma once

#include <QString>

// The folder of the running executable with a trailing separator, taken from
// the executable itself, whatever the working directory.
QString GetModuleDirectory();
