#include "ui/CShadowWnd.h"
#include "ui/kit/CPaintManagerUI.h"
#include "ui/kit/KitTestSupport.h"
#include "ui/kit/WindowWidget.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

using kit::test::ProcessEvents;
using kit::test::WaitUntil;

const QString kMenuFrame = QStringLiteral("file='menu_bk.png' corner='40,8,8,8'");

// A shadow window on its own, shown without activation as the menu shows it.
class ShadowWndTest : public ::testing::Test {
protected:
    void SetUp() override { CPaintManagerUI::SetResourcePath(QStringLiteral(KESTRIN_SKIN_DIR)); }

    void TearDown() override
    {
        if (m_hwnd != nullptr && kit::test::FindWindow(QStringLiteral("UIShadow")) == m_hwnd) {
            m_shadow->Close(1);
            kit::test::WaitForWindowGone(m_hwnd);
        }
    }

    CShadowWnd& Open(const QString& image, const QRect& rc)
    {
        m_shadow = new CShadowWnd;
        m_shadow->SetImage(image);
        m_hwnd = m_shadow->Create(nullptr, QString(), UI_WNDSTYLE_SHADOW, WS_EX_TOOLWINDOW | WS_EX_LAYERED,
                                  rc.x(), rc.y(), rc.width(), rc.height());
        EXPECT_NE(m_hwnd, nullptr);
        m_shadow->ShowWindow(true, false);
        EXPECT_TRUE(WaitUntil([this] { return m_shadow->GetRedrawCount() >= 1; }, 2000));
        ProcessEvents(30);
        return *m_shadow;
    }

    QImage Picture() const { return m_hwnd->grab().toImage().convertToFormat(QImage::Format_ARGB32); }

    CShadowWnd* m_shadow = nullptr;
    HWND m_hwnd = nullptr;
};

TEST_F(ShadowWndTest, ShowsTheFrameImageWithItsOwnAlphaOverTheWholeWindow)
{
    Open(kMenuFrame, QRect(100, 100, 176, 145));
    const QImage picture = Picture();
    ASSERT_EQ(picture.size(), QSize(176, 145));
    EXPECT_LT(qAlpha(picture.pixel(0, 0)), 8) << "the outer corner fades out";
    const QRgb margin = picture.pixel(4, 70);
    EXPECT_GT(qAlpha(margin), 8);
    EXPECT_LT(qAlpha(margin), 200) << "the frame is translucent";
    EXPECT_LT(qAlpha(picture.pixel(1, 70)), qAlpha(margin)) << "and fades outwards";
    EXPECT_EQ(picture.pixel(88, 72), qRgba(255, 255, 255, 255)) << "under the menu it is opaque";
}

TEST_F(ShadowWndTest, SeveralSizeChangesWithinOneTickGiveOneRedrawAndMovesNone)
{
    CShadowWnd& shadow = Open(kMenuFrame, QRect(100, 100, 176, 145));
    const int drawn = shadow.GetRedrawCount();

    shadow.SetWindowPos(QRect(0, 0, 200, 150), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    shadow.SetWindowPos(QRect(0, 0, 220, 160), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    shadow.SetWindowPos(QRect(0, 0, 240, 170), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(WaitUntil([&] { return shadow.GetRedrawCount() > drawn; }, 2000));
    ProcessEvents(60);
    EXPECT_EQ(shadow.GetRedrawCount(), drawn + 1);
    EXPECT_EQ(shadow.GetWindowRect(), QRect(100, 100, 240, 170));
    EXPECT_EQ(Picture().size(), QSize(240, 170));
    EXPECT_EQ(Picture().pixel(120, 85), qRgba(255, 255, 255, 255));

    shadow.SetWindowPos(QRect(300, 200, 0, 0), SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ProcessEvents(60);
    EXPECT_EQ(shadow.GetWindowRect(), QRect(300, 200, 240, 170));
    EXPECT_EQ(shadow.GetRedrawCount(), drawn + 1);
}

TEST_F(ShadowWndTest, AMinimisedShadowIsRedrawnOnlyOnceRestored)
{
    CShadowWnd& shadow = Open(kMenuFrame, QRect(100, 100, 176, 145));
    const int drawn = shadow.GetRedrawCount();

    shadow.SendMessage(WM_SYSCOMMAND, SC_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return shadow.IsMinimized(); }, 2000));
    ProcessEvents(60);
    EXPECT_EQ(shadow.GetRedrawCount(), drawn);

    shadow.SendMessage(WM_SYSCOMMAND, SC_RESTORE);
    EXPECT_TRUE(WaitUntil([&] { return shadow.GetRedrawCount() == drawn + 1; }, 2000));
}

TEST_F(ShadowWndTest, AMissingImageLeavesTheWindowFullyTransparent)
{
    Open(QStringLiteral("file='no_such_image.png' corner='40,8,8,8'"), QRect(100, 100, 120, 90));
    const QImage picture = Picture();
    ASSERT_FALSE(picture.isNull());
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            ASSERT_EQ(qAlpha(picture.pixel(x, y)), 0) << x << "," << y;
}

} // namespace
