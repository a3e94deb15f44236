#include "tests/support/MainWindowFixture.h"

#include "app/CKestrinApp.h"
#include "store/Statements.h"
#include "tests/support/MessageBoxCapture.h"
#include "ui/kit/CPaintManagerUI.h"
#include "ui/kit/CTabLayoutUI.h"
#include "ui/kit/KitTestSupport.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

using kit::test::ProcessEvents;

class KestrinWndTest : public MainWindowFixture {
protected:
    // A notification as the kit would deliver it, from a control of that name.
    void SendNotify(const QString& type, const QString& senderName)
    {
        kit::test::Notify(Window(), type, senderName);
    }

    int CurrentPage() const
    {
        return static_cast<CTabLayoutUI*>(Control(QStringLiteral("switch")))->GetCurSel();
    }
};

TEST_F(KestrinWndTest, OpensCentredAtItsSize)
{
    const QRect rect = Window().GetWindowRect();
    EXPECT_EQ(rect.size(), QSize(800, 572));
    const QRect work = Window().GetWorkArea();
    EXPECT_LE(std::abs(rect.center().x() - work.center().x()), 1);
    EXPECT_LE(std::abs(rect.center().y() - work.center().y()), 1);
    EXPECT_EQ(Text("titleText"), "Kestrin");
}

TEST_F(KestrinWndTest, EveryControlTheProgramUsesIsInTheLayout)
{
    for (const char* name :
         {"switch", "scan", "query", "clearbtn", "insertbtn", "querybtn", "queryclearbtn", "querydeletebtn",
          "menubtn", "minbtn", "closebtn", "logo", "editCode", "editNumber", "editValue", "editCheck",
          "editBackup", "controlDate", "textState", "startdate", "enddate", "listdata", "titleText",
          "webBrowser"}) {
        EXPECT_NE(Control(QLatin1String(name)), nullptr) << name;
    }
}

TEST_F(KestrinWndTest, ClickNamesAndTypesMatchInAnyLetterCase)
{
    ASSERT_TRUE(TypeInto("editCode", "144031900111"));
    SendNotify("CLICK", "ClearBtn");
    EXPECT_EQ(Text("editCode"), "");

    SendNotify("Click", "LOGO");
    EXPECT_EQ(m_openedUrls.size(), 1);
}

TEST_F(KestrinWndTest, PageNamesMatchOnlyAsWritten)
{
    SendNotify("SelectChanged", "Query");
    EXPECT_EQ(CurrentPage(), 0);
    EXPECT_EQ(Window().CurrentTab(), 0);

    SendNotify("SELECTCHANGED", "query");
    EXPECT_EQ(CurrentPage(), 1);
    EXPECT_EQ(Window().CurrentTab(), 1);
}

TEST_F(KestrinWndTest, SwitchingPagesClearsOnlyOnARealChange)
{
    ASSERT_TRUE(TypeInto("editCode", "144031900111"));
    ASSERT_TRUE(Click("scan")); // already shown
    EXPECT_EQ(Text("editCode"), "144031900111");

    ASSERT_TRUE(Click("query"));
    EXPECT_EQ(CurrentPage(), 1);
    ASSERT_TRUE(Click("scan"));
    EXPECT_EQ(CurrentPage(), 0);
    EXPECT_EQ(Text("editCode"), "");
}

TEST_F(KestrinWndTest, TypedCharactersGoToTheScanBufferUnlessAnEditBoxHasThem)
{
    kit::test::TypeText(Hwnd(), "01,10");
    EXPECT_EQ(Window().ScanBuffer(), "01,10");

    ASSERT_TRUE(TypeInto("editValue", "12.5"));
    EXPECT_EQ(Text("editValue"), "12.5");
    EXPECT_EQ(Window().ScanBuffer(), "01,10");

    // A click on a button gives the keys back to the window.
    ASSERT_TRUE(Click("clearbtn"));
    kit::test::TypeText(Hwnd(), ",x");
    EXPECT_EQ(Window().ScanBuffer(), "01,10,x");
}

TEST_F(KestrinWndTest, CharactersTypedOnTheQueryPageWaitAndEnterDoesNothingThere)
{
    ASSERT_TRUE(Click("query"));
    kit::test::FocusWindow(Hwnd());
    Scan("abc");
    EXPECT_EQ(Window().ScanBuffer(), "abc");
    EXPECT_EQ(Window().State(), "");
}

TEST_F(KestrinWndTest, AFailedParseKeepsTheBufferAndTheNextCharactersFollowIt)
{
    Scan("abc");
    EXPECT_EQ(Window().State(), "二维码格式有误，解析失败！");
    EXPECT_EQ(StateColor(), 0xFFFF0000u);
    EXPECT_EQ(Window().ScanBuffer(), "abc");
    kit::test::TypeText(Hwnd(), "de");
    EXPECT_EQ(Window().ScanBuffer(), "abcde");

    Scan("");
    EXPECT_EQ(Window().State(), "二维码格式有误，解析失败！");
}

TEST_F(KestrinWndTest, ScannedBytesKeepTheirCodeWithoutSignExtension)
{
    Window().SendMessage(WM_CHAR, 0x41, 0);
    Window().SendMessage(WM_CHAR, 0xE9, 0);
    Window().SendMessage(WM_CHAR, 0x80, 0);
    EXPECT_EQ(Window().ScanBuffer(), QString::fromUtf16(u"A\u00e9\u0080"));
}

TEST_F(KestrinWndTest, CloseButtonDestroysTheWindow)
{
    HWND hwnd = Hwnd();
    ASSERT_TRUE(Click("closebtn"));
    EXPECT_TRUE(kit::test::WaitForWindowGone(hwnd));
}

TEST_F(KestrinWndTest, MinimiseButtonMinimises)
{
    ASSERT_TRUE(Click("minbtn"));
    EXPECT_TRUE(kit::test::WaitUntil([this] { return Window().IsMinimized(); }, 2000));
}

TEST_F(KestrinWndTest, AboutBoxShowsTheVersionAndClosesOnlyOnItsConfirmButton)
{
    QString first;
    bool stillOpenAfterKeys = false;
    kit::test::WhenWindowShown(QStringLiteral("CJsAlertDlg"), [&](HWND dlg) {
        auto* window = static_cast<WindowImplBase*>(CWindowWnd::FromHandle(dlg));
        first = window->FindControl(QStringLiteral("TextName"))->GetText();
        kit::test::PressKey(dlg, VK_RETURN);
        kit::test::PressKey(dlg, VK_SPACE);
        kit::test::ProcessEvents(20);
        stillOpenAfterKeys = CWindowWnd::FromHandle(dlg) != nullptr && window->IsVisible();
        kit::test::Click(dlg, QStringLiteral("ButtonConfirm"));
    });
    SendNotify("menu_about", "menubtn"); // returns when the box is closed
    EXPECT_TRUE(first.contains("V1.1")) << first.toStdString();
    EXPECT_TRUE(stillOpenAfterKeys);
}

TEST(KestrinWndWithoutDatabase, OneDatabaseMessageThenTheWindowWorks)
{
    MessageBoxCapture messages;
    CAdoConnection connection;
    EXPECT_FALSE(connection.Open(QString(), QString(), QString(), -1,
                                 Statements::ConnectionString(QStringLiteral("/nonexistent/invoice.ss"))));
    ASSERT_EQ(messages.Messages().size(), 1);
    EXPECT_FALSE(messages.Messages().first().isEmpty());

    CPaintManagerUI::SetResourcePath(QStringLiteral(KESTRIN_SKIN_DIR));
    CKestrinWnd window(connection);
    ASSERT_NE(window.Create(nullptr, QStringLiteral("KestrinWnd"), UI_WNDSTYLE_FRAME, 0, 0, 0, 800, 572),
              nullptr);
    window.ShowWindow();
    kit::test::FocusWindow(window.GetHWND());
    kit::test::TypeText(window.GetHWND(), "01,10,011001605111,80100798,64.9,20161018,85342965681116380258");
    kit::test::PressKey(window.GetHWND(), VK_RETURN);
    EXPECT_EQ(window.State(), "入库失败，请重新操作！");
    window.Close(1);
    kit::test::WaitForWindowGone(window.GetHWND());
}

} // namespace
