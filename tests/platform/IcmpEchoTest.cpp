#include "platform/IcmpApi.h"
#include "platform/IcmpEchoSocket.h"
#include "platform/IcmpModule.h"

#include <arpa/inet.h>

#include <array>
#include <cstring>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

// Every echo here goes to 127.0.0.1: nothing may leave this machine.

namespace platform {

// Found by argument-dependent lookup, so it must not sit in the unnamed namespace.
[[maybe_unused]] static void PrintTo(IcmpEchoSocket::Kind kind, std::ostream* os)
{
    *os << (kind == IcmpEchoSocket::Kind::Datagram ? "Datagram" : "Raw");
}

namespace {

constexpr WORD kRequestSize = 32;
constexpr DWORD kTimeout = 1000;

// A reply buffer aligned for the structure, sized for the program's request.
struct ReplyBuffer {
    alignas(ICMP_ECHO_REPLY) unsigned char bytes[IcmpReplyBufferSize(kRequestSize)];
    const ICMP_ECHO_REPLY& Reply() const { return *reinterpret_cast<const ICMP_ECHO_REPLY*>(bytes); }
};

IPAddr Loopback()
{
    return inet_addr("127.0.0.1");
}

std::array<unsigned char, kRequestSize> Payload(unsigned char value)
{
    std::array<unsigned char, kRequestSize> data;
    data.fill(value);
    return data;
}

IP_OPTION_INFORMATION ProgramOptions()
{
    IP_OPTION_INFORMATION options{};
    options.Ttl = 128;
    return options;
}

void ExpectEchoOf(const ReplyBuffer& buffer, const std::array<unsigned char, kRequestSize>& data)
{
    const ICMP_ECHO_REPLY& reply = buffer.Reply();
    EXPECT_EQ(reply.Status, IP_SUCCESS);
    EXPECT_EQ(reply.Address, Loopback());
    EXPECT_EQ(reply.DataSize, kRequestSize);
    EXPECT_EQ(reply.Data, buffer.bytes + sizeof(ICMP_ECHO_REPLY));
    EXPECT_EQ(std::memcmp(reply.Data, data.data(), data.size()), 0);
    EXPECT_GT(reply.Options.Ttl, 0);
}

// The way the program pings: the module, the three functions by name, one
// request of 32 bytes of 'E' with TTL 128 and a one-second time-out.
TEST(IcmpEcho, LoopbackAnswersThroughTheLoadedModule)
{
    IcmpModule::RestoreForTesting();
    ASSERT_TRUE(IcmpModule::Load("ICMP.DLL"));
    const auto create = reinterpret_cast<IcmpCreateFileFunc>(IcmpModule::Resolve("IcmpCreateFile"));
    const auto close = reinterpret_cast<IcmpCloseHandleFunc>(IcmpModule::Resolve("IcmpCloseHandle"));
    const auto send = reinterpret_cast<IcmpSendEchoFunc>(IcmpModule::Resolve("IcmpSendEcho"));
    ASSERT_TRUE(create && close && send);

    const HANDLE handle = create();
    if (handle == INVALID_HANDLE_VALUE)
        GTEST_SKIP() << "no ICMP socket of either kind may be opened here (error " << GetLastError() << ")";
    auto data = Payload(0x45);
    IP_OPTION_INFORMATION options = ProgramOptions();
    ReplyBuffer buffer{};
    const DWORD replies = send(handle, Loopback(), data.data(), kRequestSize, &options, buffer.bytes,
                               sizeof buffer.bytes, kTimeout);
    EXPECT_TRUE(close(handle));
    ASSERT_EQ(replies, 1u) << "error " << GetLastError();
    ExpectEchoOf(buffer, data);
}

class IcmpEchoSocketKinds : public ::testing::TestWithParam<IcmpEchoSocket::Kind> {
protected:
    void SetUp() override
    {
        int error = 0;
        if (!m_socket.Open(GetParam(), error))
            GTEST_SKIP() << "this kind of ICMP socket may not be opened here: " << std::strerror(error);
    }

    IcmpEchoSocket m_socket;
};

// A reply that arrives after its request timed out must not be taken for
// the answer to the next request.
TEST_P(IcmpEchoSocketKinds, MatchesEachReplyToItsRequest)
{
    IP_OPTION_INFORMATION options = ProgramOptions();
    ReplyBuffer buffer{};
    DWORD error = 0;
    auto late = Payload(0x11);
    EXPECT_EQ(m_socket.SendEcho(Loopback(), late.data(), kRequestSize, &options, buffer.bytes,
                                sizeof buffer.bytes, 0, error), 0u);
    EXPECT_EQ(error, IP_REQ_TIMED_OUT);
    EXPECT_EQ(buffer.Reply().Status, IP_REQ_TIMED_OUT);

    for (unsigned char value : {0x45, 0x46}) {
        auto data = Payload(value);
        ASSERT_EQ(m_socket.SendEcho(Loopback(), data.data(), kRequestSize, &options, buffer.bytes,
                                    sizeof buffer.bytes, kTimeout, error), 1u)
            << "error " << error;
        ExpectEchoOf(buffer, data);
    }
}

TEST_P(IcmpEchoSocketKinds, EchoesAnEmptyRequest)
{
    ReplyBuffer buffer{};
    DWORD error = 0;
    ASSERT_EQ(m_socket.SendEcho(Loopback(), nullptr, 0, nullptr, buffer.bytes, sizeof buffer.bytes,
                                kTimeout, error), 1u) << "error " << error;
    EXPECT_EQ(buffer.Reply().Status, IP_SUCCESS);
    EXPECT_EQ(buffer.Reply().DataSize, 0);
}

INSTANTIATE_TEST_SUITE_P(Kinds, IcmpEchoSocketKinds,
                         ::testing::Values(IcmpEchoSocket::Kind::Datagram, IcmpEchoSocket::Kind::Raw),
                         ::testing::PrintToStringParamName());

// Raw sockets each see every reply; handles on separate threads must still
// get their own.
TEST(IcmpEcho, ConcurrentHandlesGetTheirOwnReplies)
{
    constexpr int kThreads = 4;
    constexpr int kEchoes = 20;
    std::vector<int> answered(kThreads, 0);
    std::vector<std::thread> threads;
    bool opened = true;
    std::vector<HANDLE> handles;
    for (int i = 0; i < kThreads; ++i) {
        handles.push_back(IcmpCreateFile());
        opened = opened && handles.back() != INVALID_HANDLE_VALUE;
    }
    if (!opened) {
        for (HANDLE handle : handles)
            IcmpCloseHandle(handle);
        GTEST_SKIP() << "no ICMP socket may be opened here";
    }
    for (int i = 0; i < kThreads; ++i) {
        threads.emplace_back([&, i] {
            IP_OPTION_INFORMATION options = ProgramOptions();
            for (int n = 0; n < kEchoes; ++n) {
                auto data = Payload(static_cast<unsigned char>(i * kEchoes + n));
                ReplyBuffer buffer{};
                if (IcmpSendEcho(handles[i], Loopback(), data.data(), kRequestSize, &options,
                                 buffer.bytes, sizeof buffer.bytes, kTimeout) == 1 &&
                    std::memcmp(buffer.Reply().Data, data.data(), data.size()) == 0)
                    ++answered[i];
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    for (int i = 0; i < kThreads; ++i) {
        EXPECT_EQ(answered[i], kEchoes) << "thread " << i;
        EXPECT_TRUE(IcmpCloseHandle(handles[i]));
    }
}

TEST(IcmpEcho, RefusesBadCallsWithoutCrashing)
{
    auto data = Payload(0x45);
    ReplyBuffer buffer{};
    EXPECT_EQ(IcmpSendEcho(INVALID_HANDLE_VALUE, Loopback(), data.data(), kRequestSize, nullptr,
                           buffer.bytes, sizeof buffer.bytes, kTimeout), 0u);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(IcmpCloseHandle(nullptr));

    const HANDLE handle = IcmpCreateFile();
    if (handle == INVALID_HANDLE_VALUE)
        GTEST_SKIP() << "no ICMP socket may be opened here";

    // The program's 60-byte buffer holds a reply only where pointers are 4 bytes.
    EXPECT_EQ(IcmpSendEcho(handle, Loopback(), data.data(), kRequestSize, nullptr, buffer.bytes,
                           sizeof buffer.bytes - 1, kTimeout), 0u);
    EXPECT_EQ(GetLastError(), IP_BUF_TOO_SMALL);
    EXPECT_EQ(buffer.Reply().Status, IP_BUF_TOO_SMALL);

    unsigned char optionBytes[4] = {};
    IP_OPTION_INFORMATION withOptionData = ProgramOptions();
    withOptionData.OptionsSize = sizeof optionBytes;
    withOptionData.OptionsData = optionBytes;
    EXPECT_EQ(IcmpSendEcho(handle, Loopback(), data.data(), kRequestSize, &withOptionData,
                           buffer.bytes, sizeof buffer.bytes, kTimeout), 0u);
    EXPECT_EQ(GetLastError(), IP_BAD_OPTION);

    EXPECT_EQ(IcmpSendEcho(handle, Loopback(), nullptr, kRequestSize, nullptr, buffer.bytes,
                           sizeof buffer.bytes, kTimeout), 0u);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

    EXPECT_TRUE(IcmpCloseHandle(handle));
    EXPECT_FALSE(IcmpCloseHandle(handle));
    EXPECT_EQ(IcmpSendEcho(handle, Loopback(), data.data(), kRequestSize, nullptr, buffer.bytes,
                           sizeof buffer.bytes, kTimeout), 0u);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

} // namespace
} // namespace platform
