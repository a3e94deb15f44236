#pragma once

#include <cstddef>
#include <cstdint>

// The ICMP echo service the program expects from "ICMP.DLL", built on Linux
// ICMP sockets. Types and values keep the names and meanings the program
// uses; they live in namespace platform so they cannot clash with other
// stand-ins. Only the three functions below exist; the program reaches them
// through IcmpModule, as it would through the loaded library.
namespace platform {

using HANDLE = void*;
using BOOL = int;
using UCHAR = std::uint8_t;
using USHORT = std::uint16_t;
using WORD = std::uint16_t;
using ULONG = std::uint32_t;
using DWORD = std::uint32_t;
using IPAddr = std::uint32_t;  // IPv4 address in network byte order, as inet_addr gives it
using FARPROC = void (*)();    // an untyped function address; cast to the real type

inline const HANDLE INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-1));

struct IP_OPTION_INFORMATION {
    UCHAR Ttl;
    UCHAR Tos;
    UCHAR Flags;        // IP_FLAG_DF: do not fragment
    UCHAR OptionsSize;  // IP options other than these are not supported
    UCHAR* OptionsData;
};
using PIP_OPTION_INFORMATION = IP_OPTION_INFORMATION*;

inline constexpr UCHAR IP_FLAG_DF = 0x2;

// One reply in the reply buffer; the echoed data follows the structure and
// Data points at it. The layout is the platform's natural one: 28 bytes on
// 32-bit builds, 40 on 64-bit ones (pointers are 8 bytes), so size reply
// buffers with IcmpReplyBufferSize rather than a fixed number.
struct ICMP_ECHO_REPLY {
    IPAddr Address;       // the replying host
    ULONG Status;         // IP_SUCCESS or one of the IP_* codes below
    ULONG RoundTripTime;  // milliseconds
    USHORT DataSize;
    USHORT Reserved;
    void* Data;
    IP_OPTION_INFORMATION Options;  // Ttl is the reply's TTL when known
};
using PICMP_ECHO_REPLY = ICMP_ECHO_REPLY*;

// Room for one reply carrying `requestSize` echoed bytes: 28 + 32 = 60 bytes
// for the program's 32-byte request on a 32-bit build, 72 on a 64-bit one.
constexpr DWORD IcmpReplyBufferSize(WORD requestSize)
{
    return static_cast<DWORD>(sizeof(ICMP_ECHO_REPLY) + requestSize);
}

// Reply status codes.
inline constexpr ULONG IP_SUCCESS = 0;
inline constexpr ULONG IP_BUF_TOO_SMALL = 11001;
inline constexpr ULONG IP_DEST_NET_UNREACHABLE = 11002;
inline constexpr ULONG IP_DEST_HOST_UNREACHABLE = 11003;
inline constexpr ULONG IP_BAD_OPTION = 11007;
inline constexpr ULONG IP_PACKET_TOO_BIG = 11009;
inline constexpr ULONG IP_REQ_TIMED_OUT = 11010;
inline constexpr ULONG IP_BAD_REQ = 11011;
inline constexpr ULONG IP_GENERAL_FAILURE = 11050;

// Errors of GetLastError besides the IP_* codes.
inline constexpr DWORD ERROR_ACCESS_DENIED = 5;
inline constexpr DWORD ERROR_INVALID_HANDLE = 6;
inline constexpr DWORD ERROR_INVALID_PARAMETER = 87;

// Opens an echo handle: a datagram ICMP socket, or a raw one when this user
// may not open datagram ICMP sockets. INVALID_HANDLE_VALUE when neither can
// be opened (GetLastError gives ERROR_ACCESS_DENIED or IP_GENERAL_FAILURE).
HANDLE IcmpCreateFile();
// Closes a handle from IcmpCreateFile; FALSE for an unknown handle.
BOOL IcmpCloseHandle(HANDLE icmpHandle);
// Sends one echo request carrying `requestData` and waits up to `timeout`
// milliseconds for the matching reply, checked by sequence number, by
// identifier where the socket keeps it, and by the echoed bytes. Returns the
// number of replies in `replyBuffer` (1), or 0 when none arrived in time or
// the call failed; GetLastError then gives IP_REQ_TIMED_OUT, IP_BUF_TOO_SMALL
// (`replySize` below IcmpReplyBufferSize(requestSize)), IP_BAD_OPTION, an
// unreachable code or IP_GENERAL_FAILURE when sending fails, or
// ERROR_INVALID_HANDLE / ERROR_INVALID_PARAMETER. A reply buffer with room
// for a reply holds the failure in its Status as well. `requestOptions` (may
// be null: system defaults) sets TTL (0: default), type of service and the
// don't-fragment flag; IP options data is not supported. Only replies from
// the destination count. Blocks the calling thread until it returns.
DWORD IcmpSendEcho(HANDLE icmpHandle, IPAddr destinationAddress, void* requestData,
                   WORD requestSize, PIP_OPTION_INFORMATION requestOptions, void* replyBuffer,
                   DWORD replySize, DWORD timeout);

// The error of this thread's latest failed ICMP call.
DWORD GetLastError();

using IcmpCreateFileFunc = HANDLE (*)();
using IcmpCloseHandleFunc = BOOL (*)(HANDLE);
using IcmpSendEchoFunc = DWORD (*)(HANDLE, IPAddr, void*, WORD, PIP_OPTION_INFORMATION, void*,
                                   DWORD, DWORD);

} // namespace platform
