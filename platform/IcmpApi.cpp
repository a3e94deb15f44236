#include "platform/IcmpApi.h"

#include "platform/IcmpEchoSocket.h"

#include <cerrno>
#include <memory>
#include <mutex>
#include <set>

namespace platform {
namespace {

thread_local DWORD t_nLastError = 0;

// Handles are checked against the live ones, so that a stale or foreign
// handle is an error rather than a crash.
struct HandleRegistry {
    std::mutex mutex;
    std::set<IcmpEchoSocket*> sockets;
};

HandleRegistry& Registry()
{
    static HandleRegistry registry;
    return registry;
}

IcmpEchoSocket* FindSocket(HANDLE handle)
{
    HandleRegistry& registry = Registry();
    std::lock_guard lock(registry.mutex);
    const auto found = registry.sockets.find(static_cast<IcmpEchoSocket*>(handle));
    return found == registry.sockets.end() ? nullptr : *found;
}

} // namespace

HANDLE IcmpCreateFile()
{
    auto socket = std::make_unique<IcmpEchoSocket>();
    int error = 0;
    if (!socket->Open(error)) {
        t_nLastError = error == EPERM || error == EACCES ? ERROR_ACCESS_DENIED : IP_GENERAL_FAILURE;
        return INVALID_HANDLE_VALUE;
    }
    HandleRegistry& registry = Registry();
    std::lock_guard lock(registry.mutex);
    registry.sockets.insert(socket.get());
    return socket.release();
}

BOOL IcmpCloseHandle(HANDLE icmpHandle)
{
    HandleRegistry& registry = Registry();
    std::unique_lock lock(registry.mutex);
    if (registry.sockets.erase(static_cast<IcmpEchoSocket*>(icmpHandle)) == 0) {
        t_nLastError = ERROR_INVALID_HANDLE;
        return 0;
    }
    lock.unlock();
    delete static_cast<IcmpEchoSocket*>(icmpHandle);
    return 1;
}

DWORD IcmpSendEcho(HANDLE icmpHandle, IPAddr destinationAddress, void* requestData,
                   WORD requestSize, PIP_OPTION_INFORMATION requestOptions, void* replyBuffer,
                   DWORD replySize, DWORD timeout)
{
    IcmpEchoSocket* socket = FindSocket(icmpHandle);
    if (!socket) {
        t_nLastError = ERROR_INVALID_HANDLE;
        return 0;
    }
    DWORD error = 0;
    const DWORD replies = socket->SendEcho(destinationAddress, requestData, requestSize,
                                           requestOptions, replyBuffer, replySize, timeout, error);
    if (replies == 0)
        t_nLastError = error;
    return replies;
}

DWORD GetLastError()
{
    return t_nLastError;
}

} // namespace platform
