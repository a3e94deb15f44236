#include "ui/CCustomWebEventHandler.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

constexpr DWORD kSixHostFlags = 0x0024000F;

struct HostInfoCase {
    DWORD flagsBefore;
    DWORD flagsAfter;
};

[[maybe_unused]] void PrintTo(const HostInfoCase& c, std::ostream* os)
{
    *os << std::hex << "0x" << c.flagsBefore << " -> 0x" << c.flagsAfter;
}

class HostInfoTest : public ::testing::TestWithParam<HostInfoCase> {};

TEST_P(HostInfoTest, KeepsTheFlagsAlreadySetAndAddsTheSix)
{
    const char16_t css[] = u"body{}";
    const char16_t ns[] = u"ns";
    DOCHOSTUIINFO info;
    info.cbSize = 999;
    info.dwFlags = GetParam().flagsBefore;
    info.dwDoubleClick = 3;
    info.pchHostCss = css;
    info.pchHostNS = ns;

    CCustomWebEventHandler handler;
    EXPECT_EQ(handler.GetHostInfo(&info), S_OK);
    EXPECT_EQ(info.dwFlags, GetParam().flagsAfter);
    EXPECT_EQ(info.cbSize, 20u);
    EXPECT_EQ(info.dwDoubleClick, DOCHOSTUIDBLCLK_DEFAULT);
    EXPECT_EQ(info.pchHostCss, css);
    EXPECT_EQ(info.pchHostNS, ns);
}

INSTANTIATE_TEST_SUITE_P(Flags, HostInfoTest,
                         ::testing::Values(HostInfoCase{0, kSixHostFlags},
                                           HostInfoCase{0x00000010, 0x0024001F},
                                           HostInfoCase{0x80000400, 0x8024040F},
                                           HostInfoCase{kSixHostFlags, kSixHostFlags},
                                           HostInfoCase{0xFFFFFFFF, 0xFFFFFFFF}));

TEST(CustomWebEventHandler, NullPointersAnswerOkAndChangeNothing)
{
    CCustomWebEventHandler handler;
    EXPECT_EQ(handler.GetHostInfo(nullptr), S_OK);
    EXPECT_EQ(handler.GetDropTarget(nullptr, nullptr), S_OK);
    EXPECT_EQ(handler.GetExternal(nullptr), S_OK);
    EXPECT_EQ(handler.GetOptionKeyPath(nullptr, 0), S_OK);
    EXPECT_EQ(handler.TranslateUrl(0, QString(), nullptr), S_OK);
    EXPECT_EQ(handler.FilterDataObject(nullptr, nullptr), S_OK);
}

TEST(CustomWebEventHandler, ReplacesNothingItIsOffered)
{
    CCustomWebEventHandler handler;
    int dummy = 0;
    void* out = &dummy;
    EXPECT_EQ(handler.GetDropTarget(&dummy, &out), S_OK);
    EXPECT_EQ(out, nullptr);
    out = &dummy;
    EXPECT_EQ(handler.GetExternal(&out), S_OK);
    EXPECT_EQ(out, nullptr);
    out = &dummy;
    EXPECT_EQ(handler.FilterDataObject(&dummy, &out), S_OK);
    EXPECT_EQ(out, nullptr);
    QString text = QStringLiteral("set");
    EXPECT_EQ(handler.GetOptionKeyPath(&text, 0), S_OK);
    EXPECT_TRUE(text.isEmpty());
    text = QStringLiteral("set");
    EXPECT_EQ(handler.TranslateUrl(0, QStringLiteral("http://127.0.0.1/"), &text), S_OK);
    EXPECT_TRUE(text.isEmpty());
}

TEST(CustomWebEventHandler, HandlesEveryAcceleratorAndTheContextMenuItselfAndRefusesDownloads)
{
    CCustomWebEventHandler handler;
    // Function keys, Ctrl and Alt combinations: all handled here.
    EXPECT_EQ(handler.TranslateAccelerator(WM_KEYDOWN, VK_F5, 0), S_OK);
    EXPECT_EQ(handler.TranslateAccelerator(WM_KEYDOWN, 'P', 0x04000000 /* Ctrl */), S_OK);
    EXPECT_EQ(handler.TranslateAccelerator(WM_KEYDOWN, VK_LEFT, 0x08000000 /* Alt */), S_OK);
    EXPECT_EQ(handler.ShowContextMenu(0, QPoint(10, 10), nullptr, nullptr), S_OK);
    EXPECT_EQ(handler.Download(nullptr, QStringLiteral("http://127.0.0.1/a.bin"), QString(), QString(), 0,
                               nullptr, nullptr, 0),
              S_OK);
}

TEST(CustomWebEventHandler, TheRemainingHostAnswersAreTheHostInterfaceDefaults)
{
    CCustomWebEventHandler handler;
    EXPECT_EQ(handler.ShowUI(0, nullptr, nullptr, nullptr, nullptr), S_FALSE);
    EXPECT_EQ(handler.HideUI(), S_OK);
    EXPECT_EQ(handler.UpdateUI(), S_OK);
    EXPECT_EQ(handler.EnableModeless(true), S_OK);
    EXPECT_EQ(handler.OnDocWindowActivate(true), S_OK);
    EXPECT_EQ(handler.OnFrameWindowActivate(false), S_OK);
    EXPECT_EQ(handler.ResizeBorder(QRect(0, 0, 10, 10), nullptr, true), S_OK);
}

} // namespace
