#pragma once

#include "platform/IcmpApi.h"

namespace platform {

// One ICMP socket sending echo requests and waiting for their replies: the
// state behind a handle of IcmpCreateFile.
class IcmpEchoSocket {
public:
    enum class Kind {
        Datagram,  // unprivileged; needs the group in net.ipv4.ping_group_range
        Raw        // needs CAP_NET_RAW
    };

    IcmpEchoSocket() = default;
    ~IcmpEchoSocket();
    IcmpEchoSocket(const IcmpEchoSocket&) = delete;
    IcmpEchoSocket& operator=(const IcmpEchoSocket&) = delete;

    // A datagram socket, else a raw one. False, with `error` set to the
    // errno, when neither can be opened.
    bool Open(int& error);
    // A socket of this kind only.
    bool Open(Kind kind, int& error);
    Kind SocketKind() const;

    // IcmpSendEcho on this socket: returns the number of replies (0 or 1)
    // and sets `error` to the failure when it returns 0.
    DWORD SendEcho(IPAddr destination, const void* requestData, WORD requestSize,
                   const IP_OPTION_INFORMATION* options, void* replyBuffer, DWORD replySize,
                   DWORD timeout, DWORD& error);

private:
    bool ApplyOptions(const IP_OPTION_INFORMATION* options, int& error);

    int m_nFd = -1;
    Kind m_kind = Kind::Datagram;
    USHORT m_nIdentifier = 0;
    USHORT m_nSequence = 0;
};

} // namespace platform
