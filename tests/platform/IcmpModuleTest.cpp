#include "platform/IcmpModule.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

class IcmpModuleTest : public ::testing::Test {
protected:
    void SetUp() override { IcmpModule::RestoreForTesting(); }
    void TearDown() override { IcmpModule::RestoreForTesting(); }
};

TEST_F(IcmpModuleTest, LoadsOnlyTheIcmpLibrary)
{
    EXPECT_EQ(IcmpModule::Resolve("IcmpSendEcho"), nullptr) << "nothing before loading";
    EXPECT_FALSE(IcmpModule::Load("IPHLPAPI.DLL"));
    EXPECT_FALSE(IcmpModule::Load(nullptr));
    EXPECT_TRUE(IcmpModule::Load("icmp.dll"));
    EXPECT_TRUE(IcmpModule::Load("ICMP.DLL"));
    EXPECT_EQ(IcmpModule::Resolve("IcmpCreateFile"), reinterpret_cast<FARPROC>(&IcmpCreateFile));
    EXPECT_EQ(IcmpModule::Resolve("IcmpCloseHandle"), reinterpret_cast<FARPROC>(&IcmpCloseHandle));
    EXPECT_EQ(IcmpModule::Resolve("IcmpSendEcho"), reinterpret_cast<FARPROC>(&IcmpSendEcho));
    EXPECT_EQ(IcmpModule::Resolve("icmpsendecho"), nullptr);
    EXPECT_EQ(IcmpModule::Resolve("Icmp6CreateFile"), nullptr);
    EXPECT_EQ(IcmpModule::Resolve(nullptr), nullptr);
}

TEST_F(IcmpModuleTest, TestsCanRemoveTheLibraryOrItsFunctions)
{
    IcmpModule::ReplaceForTesting(false, {});
    EXPECT_FALSE(IcmpModule::Load("ICMP.DLL"));
    EXPECT_EQ(IcmpModule::Resolve("IcmpCreateFile"), nullptr);

    IcmpModule::ReplaceForTesting(true, {{"IcmpCreateFile", reinterpret_cast<FARPROC>(&IcmpCreateFile)},
                                         {"IcmpCloseHandle", reinterpret_cast<FARPROC>(&IcmpCloseHandle)}});
    ASSERT_TRUE(IcmpModule::Load("ICMP.DLL"));
    EXPECT_NE(IcmpModule::Resolve("IcmpCreateFile"), nullptr);
    EXPECT_EQ(IcmpModule::Resolve("IcmpSendEcho"), nullptr);

    IcmpModule::RestoreForTesting();
    EXPECT_EQ(IcmpModule::Resolve("IcmpSendEcho"), nullptr) << "must be loaded again";
    ASSERT_TRUE(IcmpModule::Load("ICMP.DLL"));
    EXPECT_EQ(IcmpModule::Resolve("IcmpSendEcho"), reinterpret_cast<FARPROC>(&IcmpSendEcho));
}

} // namespace
} // namespace platform
