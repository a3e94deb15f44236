#include "tests/ui/kit/KitTestFixture.h"
#include "ui/kit/CWebBrowserEventHandler.h"
#include "ui/kit/CWebBrowserUI.h"
#include "ui/kit/CDialogBuilder.h"

#include <QTemporaryDir>
#include <QFile>

namespace {

class RecordingHandler : public CWebBrowserEventHandler {
public:
    HRESULT GetHostInfo(DOCHOSTUIINFO* info) override
    {
        ++hostInfoCalls;
        if (info)
            info->dwFlags |= DOCHOSTUIFLAG_SCROLL_NO | DOCHOSTUIFLAG_NO3DBORDER;
        return S_OK;
    }
    void NavigateComplete2(CWebBrowserUI*, const QString& url) override { completed.push_back(url); }

    int hostInfoCalls = 0;
    std::vector<QString> completed;
};

} // namespace

TEST(WebBrowser, NothingIsCreatedBeforeTheFirstNavigation)
{
    CPaintManagerUI manager;
    CDialogBuilder builder;
    std::unique_ptr<CControlUI> root(builder.CreateFromText(
        "<VerticalLayout><WebBrowser name='webBrowser'/></VerticalLayout>", nullptr, &manager));
    auto* browser = dynamic_cast<CWebBrowserUI*>(manager.FindControl("webBrowser"));
    ASSERT_NE(browser, nullptr);
    RecordingHandler handler;
    browser->SetWebBrowserEventHandler(&handler);
    EXPECT_FALSE(browser->HasBrowser());
    EXPECT_EQ(handler.hostInfoCalls, 0);
}

TEST(CWebBrowserEventHandlerDefaults, AnswerAsTheHostInterfaceExpects)
{
    CWebBrowserEventHandler handler;
    EXPECT_EQ(handler.ShowContextMenu(0, QPoint(), nullptr, nullptr), S_OK);
    EXPECT_EQ(handler.ShowUI(0, nullptr, nullptr, nullptr, nullptr), S_FALSE);
    EXPECT_EQ(handler.TranslateAccelerator(WM_KEYDOWN, VK_F5, 0), S_FALSE);
    void* out = &handler;
    EXPECT_EQ(handler.GetDropTarget(nullptr, &out), E_NOTIMPL);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(handler.GetExternal(&out), E_NOTIMPL);
    EXPECT_EQ(handler.Download(nullptr, "u", "", "", 0, nullptr, nullptr, 0), S_OK);
    EXPECT_EQ(handler.HideUI(), S_OK);
}

using WebBrowserWindowTest = KitWindowTest;

TEST_F(WebBrowserWindowTest, NavigatesToALocalFileAndAsksTheHandler)
{
    QTemporaryDir dir;
    QFile page(dir.filePath("index.html"));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("<html><body>start</body></html>");
    page.close();

    KitTestWindow& window = OpenWindow(QStringLiteral("Browser.xml"));
    auto* browser = dynamic_cast<CWebBrowserUI*>(window.FindControl("webBrowser"));
    ASSERT_NE(browser, nullptr);
    RecordingHandler handler;
    browser->SetWebBrowserEventHandler(&handler);
    browser->Navigate2("about:blank");
    browser->Navigate2(dir.filePath("index.html"));
    EXPECT_TRUE(browser->HasBrowser());
    EXPECT_GE(handler.hostInfoCalls, 1);
    ASSERT_TRUE(kit::test::WaitUntil([&] {
        for (const QString& url : handler.completed)
            if (url.endsWith("index.html"))
                return true;
        return false;
    }, 20000));
    browser->SetWebBrowserEventHandler(nullptr);
}
