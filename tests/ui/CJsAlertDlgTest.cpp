#include "ui/CJsAlertDlg.h"
#include "ui/kit/CLabelUI.h"
#include "ui/kit/CPaintManagerUI.h"
#include "ui/kit/KitTestSupport.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <atomic>
#include <thread>

namespace {

// Reports its own deletion.
class ProbeAlert : public CJsAlertDlg {
public:
    explicit ProbeAlert(bool* deleted) : m_pDeleted(deleted) {}
    ~ProbeAlert() override { *m_pDeleted = true; }

private:
    bool* m_pDeleted;
};

CJsAlertDlg* AlertOf(HWND hwnd)
{
    return dynamic_cast<CJsAlertDlg*>(CWindowWnd::FromHandle(hwnd));
}

CLabelUI* Label(HWND hwnd, const char* name)
{
    return dynamic_cast<CLabelUI*>(AlertOf(hwnd)->FindControl(name));
}

class CJsAlertDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_savedPath = CPaintManagerUI::GetResourcePath();
        CPaintManagerUI::SetResourcePath(QStringLiteral(KESTRIN_SKIN_DIR));
    }
    void TearDown() override { CPaintManagerUI::SetResourcePath(m_savedPath); }

    // Shows a prompt the way every caller does and returns ShowModal's result.
    static UINT ShowPrompt(CJsAlertDlg* dlg, const QString& first, const QString& second)
    {
        dlg->SetMessage(first, second);
        dlg->Create(nullptr, QStringLiteral("提示"), UI_WNDSTYLE_DIALOG, 0, CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT);
        dlg->CenterWindow();
        return dlg->ShowModal();
    }

private:
    QString m_savedPath;
};

} // namespace

TEST_F(CJsAlertDlgTest, ShowsBothTextsInFontZeroAndClosesOnConfirm)
{
    QString first;
    QString second;
    int firstFont = -2;
    QString title;
    kit::test::WhenModalWindowShown("CJsAlertDlg", [&](HWND hwnd) {
        first = Label(hwnd, "TextName")->GetText();
        second = Label(hwnd, "TextName1")->GetText();
        firstFont = Label(hwnd, "TextName")->GetFont();
        title = AlertOf(hwnd)->GetWindowText();
        kit::test::Click(hwnd, "ButtonConfirm");
    });
    bool deleted = false;
    EXPECT_EQ(ShowPrompt(new ProbeAlert(&deleted), "Kestrin V1.1", "Kestrin 开发组"), 1u);
    EXPECT_EQ(first, QStringLiteral("Kestrin V1.1"));
    EXPECT_EQ(second, QStringLiteral("Kestrin 开发组"));
    EXPECT_EQ(firstFont, 0);
    EXPECT_EQ(title, QStringLiteral("提示"));
    EXPECT_TRUE(deleted) << "the dialog reclaims itself once its window is gone";
}

TEST_F(CJsAlertDlgTest, EnterAndSpaceLeaveThePromptOpen)
{
    bool stillOpen = false;
    bool secondEmpty = false;
    kit::test::WhenModalWindowShown("CJsAlertDlg", [&](HWND hwnd) {
        secondEmpty = Label(hwnd, "TextName1")->GetText().isEmpty();
        kit::test::PressKey(hwnd, VK_RETURN);
        kit::test::PressKey(hwnd, VK_SPACE);
        kit::test::TypeText(hwnd, "\n \n");
        kit::test::ProcessEvents(30);
        stillOpen = AlertOf(hwnd) && AlertOf(hwnd)->IsVisible();
        kit::test::Click(hwnd, "ButtonConfirm");
    });
    bool deleted = false;
    ShowPrompt(new ProbeAlert(&deleted), "未查询到符合条件的发票信息！", "");
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(secondEmpty);
    EXPECT_TRUE(deleted);
}

TEST_F(CJsAlertDlgTest, TheCloseButtonOfTheWindowBaseClosesItToo)
{
    kit::test::WhenModalWindowShown("CJsAlertDlg", [](HWND hwnd) { kit::test::Click(hwnd, "closebtn"); });
    bool deleted = false;
    ShowPrompt(new ProbeAlert(&deleted), "text", "");
    EXPECT_TRUE(deleted);
}

TEST_F(CJsAlertDlgTest, ALayoutWithoutTheSecondLabelStillShowsTheFirst)
{
    QTemporaryDir dir;
    QFile layout(dir.filePath("JsAlert.xml"));
    ASSERT_TRUE(layout.open(QIODevice::WriteOnly));
    layout.write("<Window size='300,150'><Font id='0' size='14'/><VerticalLayout>"
                 "<Label name='TextName'/><Button name='ButtonConfirm' text='OK' height='30'/>"
                 "</VerticalLayout></Window>");
    layout.close();
    CPaintManagerUI::SetResourcePath(dir.path());

    QString first;
    kit::test::WhenModalWindowShown("CJsAlertDlg", [&](HWND hwnd) {
        first = Label(hwnd, "TextName")->GetText();
        kit::test::Click(hwnd, "ButtonConfirm");
    });
    bool deleted = false;
    ShowPrompt(new ProbeAlert(&deleted), "only the first", "lost");
    EXPECT_EQ(first, QStringLiteral("only the first"));
    EXPECT_TRUE(deleted);
}

TEST_F(CJsAlertDlgTest, PromptsFromAWorkerComeOneAfterAnotherWhileItWaits)
{
    std::atomic<int> promptsReturned{0};
    std::vector<QString> shown;
    std::vector<int> returnedWhenShown;
    // Clicks the confirm button of every prompt that opens.
    std::function<void(HWND)> confirm = [&](HWND hwnd) {
        shown.push_back(Label(hwnd, "TextName")->GetText());
        returnedWhenShown.push_back(promptsReturned);
        kit::test::Click(hwnd, "ButtonConfirm");
        if (shown.size() < 2)
            kit::test::WhenModalWindowShown("CJsAlertDlg", confirm);
    };
    kit::test::WhenModalWindowShown("CJsAlertDlg", confirm);
    bool deleted[2] = {false, false};
    std::thread worker([&] {
        ShowPrompt(new ProbeAlert(&deleted[0]), "导出完成", "");
        ++promptsReturned;
        ShowPrompt(new ProbeAlert(&deleted[1]), "导入完成", "");
        ++promptsReturned;
    });
    ASSERT_TRUE(kit::test::WaitUntil([&] { return promptsReturned == 2; }, 10000));
    worker.join();
    EXPECT_EQ(shown, (std::vector<QString>{"导出完成", "导入完成"}));
    EXPECT_EQ(returnedWhenShown, (std::vector<int>{0, 1})) << "the worker waited for each prompt";
    EXPECT_TRUE(deleted[0]);
    EXPECT_TRUE(deleted[1]);
}
