#include "platform/IcmpEchoSocket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <vector>

namespace platform {
namespace {

constexpr UCHAR kEchoReply = 0;
constexpr UCHAR kEchoRequest = 8;
constexpr std::size_t kIcmpHeaderSize = 8;
constexpr std::size_t kMaxIpHeaderSize = 60;

// Sockets of one process get different identifiers and starting sequences,
// so that raw sockets, which all see every reply, can tell theirs apart.
std::atomic<unsigned> g_nSocketsOpened{0};

USHORT InternetChecksum(const unsigned char* data, std::size_t size)
{
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        sum += static_cast<std::uint32_t>(data[i] << 8 | data[i + 1]);
    if (size % 2)
        sum += static_cast<std::uint32_t>(data[size - 1] << 8);
    while (sum >> 16)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<USHORT>(~sum & 0xFFFF);
}

USHORT ReadBigEndian16(const unsigned char* bytes)
{
    return static_cast<USHORT>(bytes[0] << 8 | bytes[1]);
}

void WriteBigEndian16(unsigned char* bytes, USHORT value)
{
    bytes[0] = static_cast<unsigned char>(value >> 8);
    bytes[1] = static_cast<unsigned char>(value & 0xFF);
}

ULONG StatusForSendError(int error)
{
    switch (error) {
    case ENETUNREACH:
        return IP_DEST_NET_UNREACHABLE;
    case EHOSTUNREACH:
        return IP_DEST_HOST_UNREACHABLE;
    case EMSGSIZE:
        return IP_PACKET_TOO_BIG;
    default:
        return IP_GENERAL_FAILURE;
    }
}

// The reply buffer need not be aligned for the structure: copy it in.
void StoreFailure(void* replyBuffer, DWORD replySize, IPAddr destination, ULONG status)
{
    if (replySize < sizeof(ICMP_ECHO_REPLY))
        return;
    ICMP_ECHO_REPLY reply{};
    reply.Address = destination;
    reply.Status = status;
    std::memcpy(replyBuffer, &reply, sizeof reply);
}

} // namespace

IcmpEchoSocket::~IcmpEchoSocket()
{
    if (m_nFd >= 0)
        ::close(m_nFd);
}

bool IcmpEchoSocket::Open(int& error)
{
    // Datagram ICMP sockets need no privilege where ping_group_range allows
    // them; raw sockets are the way for a privileged user elsewhere.
    return Open(Kind::Datagram, error) || Open(Kind::Raw, error);
}

bool IcmpEchoSocket::Open(Kind kind, int& error)
{
    const int type = kind == Kind::Datagram ? SOCK_DGRAM : SOCK_RAW;
    const int fd = ::socket(AF_INET, type | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (fd < 0) {
        error = errno;
        return false;
    }
    if (kind == Kind::Datagram) {
        // Raw sockets see the IP header with the reply's TTL; datagram
        // sockets are told it alongside the data.
        const int on = 1;
        ::setsockopt(fd, IPPROTO_IP, IP_RECVTTL, &on, sizeof on);
    }
    if (m_nFd >= 0)
        ::close(m_nFd);
    m_nFd = fd;
    m_kind = kind;
    const unsigned serial = g_nSocketsOpened.fetch_add(1);
    m_nIdentifier = static_cast<USHORT>((static_cast<unsigned>(::getpid()) + serial * 0x9E37u) & 0xFFFF);
    m_nSequence = static_cast<USHORT>((serial * 0x1000u) & 0xFFFF);
    error = 0;
    return true;
}

IcmpEchoSocket::Kind IcmpEchoSocket::SocketKind() const
{
    return m_kind;
}

bool IcmpEchoSocket::ApplyOptions(const IP_OPTION_INFORMATION* options, int& error)
{
    if (options && options->OptionsSize != 0) {
        error = EINVAL;
        return false;
    }
    // -1 restores the system's default TTL.
    const int ttl = options && options->Ttl ? options->Ttl : -1;
    const int tos = options ? options->Tos : 0;
    const int discovery =
        options && (options->Flags & IP_FLAG_DF) ? IP_PMTUDISC_DO : IP_PMTUDISC_DONT;
    if (::setsockopt(m_nFd, IPPROTO_IP, IP_TTL, &ttl, sizeof ttl) != 0 ||
        ::setsockopt(m_nFd, IPPROTO_IP, IP_TOS, &tos, sizeof tos) != 0 ||
        ::setsockopt(m_nFd, IPPROTO_IP, IP_MTU_DISCOVER, &discovery, sizeof discovery) != 0) {
        error = errno;
        return false;
    }
    return true;
}

DWORD IcmpEchoSocket::SendEcho(IPAddr destination, const void* requestData, WORD requestSize,
                               const IP_OPTION_INFORMATION* options, void* replyBuffer,
                               DWORD replySize, DWORD timeout, DWORD& error)
{
    error = 0;
    if (m_nFd < 0) {
        error = ERROR_INVALID_HANDLE;
        return 0;
    }
    if ((!requestData && requestSize > 0) || !replyBuffer) {
        error = ERROR_INVALID_PARAMETER;
        return 0;
    }
    if (replySize < IcmpReplyBufferSize(requestSize)) {
        error = IP_BUF_TOO_SMALL;
        StoreFailure(replyBuffer, replySize, destination, error);
        return 0;
    }
    int optionError = 0;
    if (!ApplyOptions(options, optionError)) {
        error = optionError == EINVAL ? IP_BAD_OPTION : IP_GENERAL_FAILURE;
        StoreFailure(replyBuffer, replySize, destination, error);
        return 0;
    }

    const USHORT sequence = ++m_nSequence;
    std::vector<unsigned char> request(kIcmpHeaderSize + requestSize);
    request[0] = kEchoRequest;
    WriteBigEndian16(&request[4], m_nIdentifier);  // datagram sockets put their own
    WriteBigEndian16(&request[6], sequence);
    if (requestSize > 0)
        std::memcpy(&request[kIcmpHeaderSize], requestData, requestSize);
    WriteBigEndian16(&request[2], InternetChecksum(request.data(), request.size()));

    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = destination;

    using Clock = std::chrono::steady_clock;
    const Clock::time_point sent = Clock::now();
    const Clock::time_point deadline = sent + std::chrono::milliseconds(timeout);
    ssize_t n;
    do {
        n = ::sendto(m_nFd, request.data(), request.size(), 0, reinterpret_cast<const sockaddr*>(&to),
                     sizeof to);
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        error = StatusForSendError(errno);
        StoreFailure(replyBuffer, replySize, destination, error);
        return 0;
    }

    // One byte more than an expected reply, so that a longer one shows.
    std::vector<unsigned char> packet(kMaxIpHeaderSize + kIcmpHeaderSize + requestSize + 1);
    for (;;) {
        const auto remaining =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (remaining <= 0)
            break;
        pollfd wait{m_nFd, POLLIN, 0};
        const int ready = ::poll(&wait, 1, static_cast<int>(std::min<long long>(remaining, INT_MAX)));
        if (ready <= 0)
            continue;  // interrupted or timed out: the deadline decides

        sockaddr_in from{};
        alignas(cmsghdr) unsigned char control[CMSG_SPACE(sizeof(int))];
        iovec data{packet.data(), packet.size()};
        msghdr message{};
        message.msg_name = &from;
        message.msg_namelen = sizeof from;
        message.msg_iov = &data;
        message.msg_iovlen = 1;
        message.msg_control = control;
        message.msg_controllen = sizeof control;
        const ssize_t received = ::recvmsg(m_nFd, &message, MSG_DONTWAIT);
        if (received < 0 || (message.msg_flags & MSG_TRUNC))
            continue;

        const unsigned char* icmp = packet.data();
        std::size_t icmpSize = static_cast<std::size_t>(received);
        IPAddr source = from.sin_addr.s_addr;
        UCHAR ttl = 0;
        if (m_kind == Kind::Raw) {
            // Raw sockets deliver the IP header as well.
            if (icmpSize < 20 || (packet[0] >> 4) != 4)
                continue;
            const std::size_t headerSize = (packet[0] & 0x0Fu) * 4u;
            if (headerSize < 20 || icmpSize < headerSize)
                continue;
            ttl = packet[8];
            std::memcpy(&source, &packet[12], sizeof source);
            icmp += headerSize;
            icmpSize -= headerSize;
        } else {
            for (cmsghdr* c = CMSG_FIRSTHDR(&message); c; c = CMSG_NXTHDR(&message, c)) {
                if (c->cmsg_level == IPPROTO_IP && c->cmsg_type == IP_TTL) {
                    int value = 0;
                    std::memcpy(&value, CMSG_DATA(c), sizeof value);
                    ttl = static_cast<UCHAR>(value);
                }
            }
        }

        // Ours: an echo reply from the destination with our sequence number
        // (and identifier, which datagram sockets replace with their own)
        // carrying exactly the bytes we sent. Anything else is ignored.
        if (icmpSize != kIcmpHeaderSize + requestSize || icmp[0] != kEchoReply || icmp[1] != 0)
            continue;
        if (source != destination || ReadBigEndian16(icmp + 6) != sequence)
            continue;
        if (m_kind == Kind::Raw && ReadBigEndian16(icmp + 4) != m_nIdentifier)
            continue;
        if (requestSize > 0 && std::memcmp(icmp + kIcmpHeaderSize, requestData, requestSize) != 0)
            continue;

        auto* replyBytes = static_cast<unsigned char*>(replyBuffer);
        ICMP_ECHO_REPLY reply{};
        reply.Address = source;
        reply.Status = IP_SUCCESS;
        reply.RoundTripTime = static_cast<ULONG>(
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - sent).count());
        reply.DataSize = requestSize;
        reply.Data = replyBytes + sizeof(ICMP_ECHO_REPLY);
        reply.Options.Ttl = ttl;
        std::memcpy(replyBytes, &reply, sizeof reply);
        if (requestSize > 0)
            std::memcpy(replyBytes + sizeof(ICMP_ECHO_REPLY), icmp + kIcmpHeaderSize, requestSize);
        return 1;
    }

    error = IP_REQ_TIMED_OUT;
    StoreFailure(replyBuffer, replySize, destination, error);
    return 0;
}

} // namespace platform
