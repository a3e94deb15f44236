#include "ui/CProgressDlg.h"

#include "ui/kit/CControlUI.h"
#include "ui/kit/CPaintManagerUI.h"
#include "ui/kit/KitTestSupport.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

class ProgressDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CPaintManagerUI::SetResourcePath(QStringLiteral(KESTRIN_SKIN_DIR));
        CProgressDlg::SetBarObserver([this](int percent) { m_values.push_back(percent); });
        m_dialog.SetMessage(QStringLiteral("数据导出进行中，请稍后……"));
        ASSERT_NE(m_dialog.Create(nullptr, QStringLiteral("提示"), UI_WNDSTYLE_DIALOG, 0), nullptr);
        m_dialog.CenterWindow();
        g_bProgressOpen = 1;
    }

    void TearDown() override
    {
        CProgressDlg::SetBarObserver({});
        g_bProgressOpen = 0;
    }

    CProgressDlg m_dialog;
    std::vector<int> m_values;
};

TEST_F(ProgressDialogTest, AWorkerMovesTheBarAndClosesTheDialogWhileKeysDoNothing)
{
    QString text;
    bool openAfterKeys = false;
    std::thread worker;
    kit::test::WhenWindowShown(QStringLiteral("CProgressDlg"), [&](HWND window) {
        text = m_dialog.FindControl(QStringLiteral("TextName"))->GetText();
        kit::test::PressKey(window, VK_RETURN);
        kit::test::PressKey(window, VK_SPACE);
        kit::test::ProcessEvents(20);
        openAfterKeys = m_dialog.IsVisible() && g_bProgressOpen.load() == 1;
        worker = std::thread([this] {
            m_dialog.SetProgress(40);
            m_dialog.SetProgress(100);
            m_dialog.Close(1);
        });
    });
    const UINT result = m_dialog.ShowModal();
    worker.join();

    EXPECT_EQ(text, QStringLiteral("数据导出进行中，请稍后……"));
    EXPECT_TRUE(openAfterKeys);
    EXPECT_EQ(result, 1u);
    EXPECT_EQ(m_values, (std::vector<int>{40, 100}));
    EXPECT_EQ(g_bProgressOpen.load(), 0);
    EXPECT_EQ(m_dialog.GetHWND(), nullptr);
}

TEST_F(ProgressDialogTest, ADialogTheClerkClosedIsNotTouchedByTheWorker)
{
    kit::test::WhenWindowShown(QStringLiteral("CProgressDlg"), [&](HWND window) {
        kit::test::Click(window, QStringLiteral("closebtn"));
    });
    m_dialog.ShowModal();
    EXPECT_EQ(g_bProgressOpen.load(), 0);

    std::thread worker([this] {
        m_dialog.SetProgress(50);
        m_dialog.Close(1);
    });
    worker.join();
    kit::test::ProcessEvents(20);
    EXPECT_TRUE(m_values.empty());
    EXPECT_EQ(m_dialog.GetHWND(), nullptr);
}

} // namespace
