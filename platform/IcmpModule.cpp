#include "platform/IcmpModule.h"

#include <cstring>
#include <mutex>
#include <strings.h>

namespace platform {
namespace {

std::vector<IcmpModule::Function> RealFunctions()
{
    return {
        {"IcmpCreateFile", reinterpret_cast<FARPROC>(&IcmpCreateFile)},
        {"IcmpCloseHandle", reinterpret_cast<FARPROC>(&IcmpCloseHandle)},
        {"IcmpSendEcho", reinterpret_cast<FARPROC>(&IcmpSendEcho)},
    };
}

struct ModuleState {
    std::mutex mutex;
    bool available = true;
    bool loaded = false;
    std::vector<IcmpModule::Function> functions = RealFunctions();
};

ModuleState& State()
{
    static ModuleState state;
    return state;
}

} // namespace

bool IcmpModule::Load(const char* moduleName)
{
    ModuleState& state = State();
    std::lock_guard lock(state.mutex);
    // Windows file names ignore case.
    if (!moduleName || !state.available || ::strcasecmp(moduleName, "ICMP.DLL") != 0)
        return false;
    state.loaded = true;
    return true;
}

FARPROC IcmpModule::Resolve(const char* functionName)
{
    ModuleState& state = State();
    std::lock_guard lock(state.mutex);
    if (!state.loaded || !functionName)
        return nullptr;
    // Export names are case-sensitive.
    for (const Function& function : state.functions) {
        if (std::strcmp(function.name, functionName) == 0)
            return function.address;
    }
    return nullptr;
}

void IcmpModule::ReplaceForTesting(bool available, std::vector<Function> functions)
{
    ModuleState& state = State();
    std::lock_guard lock(state.mutex);
    state.available = available;
    state.loaded = false;
    state.functions = std::move(functions);
}

void IcmpModule::RestoreForTesting()
{
    ReplaceForTesting(true, RealFunctions());
}

} // namespace platform
