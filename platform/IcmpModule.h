#pragma once

#include "platform/IcmpApi.h"

#include <vector>

namespace platform {

// Looks up the ICMP functions by name at run time, as the program would
// load "ICMP.DLL" and ask it for its exports. Once loaded, the module stays
// loaded for the life of the process.
class IcmpModule {
public:
    struct Function {
        const char* name;
        FARPROC address;
    };

    // True when the module exists: "ICMP.DLL", in any case.
    static bool Load(const char* moduleName);
    // The function of that name, or null when the module is not loaded or
    // has no such function. Cast the result to the matching *Func type.
    static FARPROC Resolve(const char* functionName);

    // Tests: replace the module's table. With `available` false the module
    // cannot be loaded; otherwise it offers just `functions`. Either way the
    // module must be loaded again.
    static void ReplaceForTesting(bool available, std::vector<Function> functions);
    // Tests: back to the real functions, not loaded.
    static void RestoreForTesting();
};

} // namespace platform
