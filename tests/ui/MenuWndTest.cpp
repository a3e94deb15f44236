#include "tests/support/MainWindowFixture.h"

#include "ui/CMenuWnd.h"
#include "ui/CShadowWnd.h"
#include "ui/CJsAlertDlg.h"
#include "ui/kit/CControlUI.h"
#include "ui/kit/CPaintManagerUI.h"
#include "ui/kit/DesktopServices.h"
#include "ui/kit/INotifyUI.h"
#include "ui/kit/WindowApi.h"
#include "ui/kit/WindowWidget.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <QWidget>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace {

using kit::test::ProcessEvents;
using kit::test::WaitUntil;

// Records the menu commands that reach the main window: notifications
// whose type is an item name, with the name of their sender.
class CommandRecorder : public INotifyUI {
public:
    void Notify(TNotifyUI& msg) override
    {
        if (msg.sType.startsWith(QLatin1String("menu_")))
            commands.emplace_back(msg.sType, msg.pSender != nullptr ? msg.pSender->GetName() : QString());
    }
    std::vector<std::pair<QString, QString>> commands;
};

class MenuWndTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        Window().GetPaintManager()->AddNotifier(&m_recorder);
        m_previousFolderPicker = kit::SetFolderPicker([this](HWND, const QString&) {
            ++m_folderPickerCalls;
            return QString();
        });
        m_previousFilePicker = kit::SetOpenFilePicker([this](HWND) {
            ++m_filePickerCalls;
            return QString();
        });
    }

    void TearDown() override
    {
        Window().GetPaintManager()->RemoveNotifier(&m_recorder);
        kit::SetFolderPicker(m_previousFolderPicker);
        kit::SetOpenFilePicker(m_previousFilePicker);
        CPaintManagerUI::SetResourcePath(QStringLiteral(KESTRIN_SKIN_DIR));
        MainWindowFixture::TearDown();
    }

    // Opens the menu as the clerk does, with a click on the menu button.
    HWND OpenMenu()
    {
        EXPECT_TRUE(Click("menubtn"));
        HWND menu = kit::test::WaitForWindow(QStringLiteral("MenuWnd"));
        EXPECT_NE(menu, nullptr);
        if (menu != nullptr)
            WaitUntil([menu] { return kit::test::WindowHasFocus(menu); }, 2000);
        return menu;
    }

    static CMenuWnd* Menu(HWND hwnd) { return static_cast<CMenuWnd*>(CWindowWnd::FromHandle(hwnd)); }

    // Safe also for a window already gone: the handle is only compared.
    static bool IsGone(HWND hwnd)
    {
        return WaitUntil([hwnd] { return !kit::IsWindow(hwnd); }, 3000);
    }

    // A skin folder whose menu.xml makes a menu of the given size.
    void UseMenuOfSize(int width, int height)
    {
        ASSERT_TRUE(m_skin.isValid());
        QFile layout(m_skin.filePath(QStringLiteral("menu.xml")));
        ASSERT_TRUE(layout.open(QIODevice::WriteOnly | QIODevice::Truncate));
        layout.write(QStringLiteral("<Window size=\"%1,%2\"><VerticalLayout>"
                                    "<Button name=\"menu_about\" text=\"about\" /></VerticalLayout></Window>")
                         .arg(width)
                         .arg(height)
                         .toUtf8());
        layout.close();
        CPaintManagerUI::SetResourcePath(m_skin.path());
    }

    CommandRecorder m_recorder;
    int m_folderPickerCalls = 0;
    int m_filePickerCalls = 0;
    QTemporaryDir m_skin;

private:
    kit::FolderPicker m_previousFolderPicker;
    kit::OpenFilePicker m_previousFilePicker;
};

TEST_F(MenuWndTest, OpensLeftOfTheClickOnTheMenuButtonWithItsShadowUnderIt)
{
    HWND hwnd = OpenMenu();
    ASSERT_NE(hwnd, nullptr);
    CMenuWnd* menu = Menu(hwnd);

    const QPoint click = Window().GetPaintManager()->GetMousePos();
    const QRect rect = menu->GetWindowRect();
    EXPECT_EQ(rect.topLeft(), Window().ClientToScreen(click - QPoint(120, 0)));
    EXPECT_EQ(rect.size(), QSize(176, 145)) << "the size of menu.xml";
    EXPECT_TRUE(kit::test::WindowHasFocus(hwnd));
    // Only the inner part is the menu's; the frame belongs to the shadow.
    EXPECT_EQ(hwnd->mask().boundingRect(), QRect(8, 8, rect.width() - 16, rect.height() - 16));

    CShadowWnd* shadow = menu->GetShadow();
    ASSERT_NE(shadow, nullptr);
    EXPECT_TRUE(shadow->IsVisible());
    EXPECT_EQ(shadow->GetWindowRect(), rect);
    EXPECT_TRUE(WaitUntil([shadow] { return shadow->GetRedrawCount() >= 1; }, 2000));
    for (const char* item : {"menu_export", "menu_import", "menu_about"})
        EXPECT_NE(menu->GetPaintManager()->FindControl(QLatin1String(item)), nullptr) << item;
}

TEST_F(MenuWndTest, EachItemSendsExactlyItsNameAndTheMainWindowRunsTheCommand)
{
    QString aboutText;
    for (const char* item : {"menu_export", "menu_import", "menu_about"}) {
        SCOPED_TRACE(item);
        m_recorder.commands.clear();
        if (QLatin1String(item) == QLatin1String("menu_about")) {
            kit::test::WhenWindowShown(QStringLiteral("CJsAlertDlg"), [&aboutText](HWND dlg) {
                auto* prompt = static_cast<CJsAlertDlg*>(CWindowWnd::FromHandle(dlg));
                aboutText = prompt->FindControl(QStringLiteral("TextName"))->GetText();
                kit::test::Click(dlg, QStringLiteral("ButtonConfirm"));
            });
        }
        HWND menu = OpenMenu();
        ASSERT_NE(menu, nullptr);
        ASSERT_TRUE(kit::test::Click(menu, QLatin1String(item)));
        // Sent asynchronously: the main window hears of it only after the
        // menu's own handling of the click is over.
        EXPECT_TRUE(m_recorder.commands.empty());

        EXPECT_TRUE(IsGone(menu));
        ASSERT_TRUE(WaitUntil([this] { return !m_recorder.commands.empty(); }, 3000));
        ProcessEvents(30);
        ASSERT_EQ(m_recorder.commands.size(), 1u);
        EXPECT_EQ(m_recorder.commands[0].first, QLatin1String(item));
        EXPECT_EQ(m_recorder.commands[0].second, QStringLiteral("menubtn"));
        EXPECT_EQ(kit::test::FindWindow(QStringLiteral("UIShadow")), nullptr);
    }
    EXPECT_EQ(m_folderPickerCalls, 1) << "export asks for a folder";
    EXPECT_EQ(m_filePickerCalls, 1) << "import asks for a file";
    EXPECT_TRUE(aboutText.contains(QStringLiteral("V1.1"))) << aboutText.toStdString();
}

TEST_F(MenuWndTest, EscapeClosesTheMenuAndItsShadowWithoutACommand)
{
    HWND menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    HWND shadow = Menu(menu)->GetShadow()->GetHWND();

    kit::test::PressKey(menu, VK_ESCAPE);
    EXPECT_TRUE(IsGone(menu));
    EXPECT_TRUE(IsGone(shadow));
    ProcessEvents(30);
    EXPECT_TRUE(m_recorder.commands.empty());
    EXPECT_EQ(m_folderPickerCalls + m_filePickerCalls, 0);
}

TEST_F(MenuWndTest, LosingTheFocusToAnyOtherWindowClosesTheMenuWithoutACommand)
{
    struct Case {
        const char* what;
        std::function<void()> moveFocus;
    };
    const std::vector<Case> cases = {
        {"a click elsewhere on the main window",
         [this] { kit::test::ClickAt(Hwnd(), QPoint(400, 560)); }},
        {"a window of another kind",
         [] {
             auto* other = new QWidget;
             other->setAttribute(Qt::WA_DeleteOnClose);
             other->resize(120, 80);
             other->show();
             other->activateWindow();
             other->setFocus();
             ProcessEvents(30);
             other->close();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HWND menu = OpenMenu();
        ASSERT_NE(menu, nullptr);
        HWND shadow = Menu(menu)->GetShadow()->GetHWND();
        c.moveFocus();
        EXPECT_TRUE(IsGone(menu));
        EXPECT_TRUE(IsGone(shadow));
        ProcessEvents(30);
        EXPECT_TRUE(m_recorder.commands.empty());
        kit::test::FocusWindow(Hwnd());
    }
}

TEST_F(MenuWndTest, FocusGivenToTheShadowComesBackAndTheMenuStaysOpen)
{
    HWND menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    kit::SetFocus(Menu(menu)->GetShadow()->GetHWND());
    ProcessEvents(50);
    ASSERT_TRUE(kit::IsWindow(menu));
    EXPECT_TRUE(WaitUntil([menu] { return kit::test::WindowHasFocus(menu); }, 2000));
    EXPECT_TRUE(Menu(menu)->IsVisible());
}

TEST_F(MenuWndTest, OtherKeysAndTheWheelDoNothingAndNeverReachTheScanner)
{
    HWND menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    kit::test::TypeText(menu, QStringLiteral("a1,"));
    for (WPARAM key : {VK_RETURN, VK_SPACE, VK_DOWN, VK_TAB})
        kit::test::PressKey(menu, key);
    QWheelEvent wheel(QPointF(20, 20), menu->mapToGlobal(QPointF(20, 20)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(menu, &wheel);
    ProcessEvents(30);

    EXPECT_TRUE(kit::IsWindow(menu));
    EXPECT_TRUE(Menu(menu)->IsVisible());
    EXPECT_TRUE(m_recorder.commands.empty());
    EXPECT_TRUE(Window().ScanBuffer().isEmpty()) << Window().ScanBuffer().toStdString();
}

TEST_F(MenuWndTest, IsPlacedBackIntoTheWorkAreaAtTheRightAndBottomEdges)
{
    const QRect work = Window().GetWorkArea();
    const int right = work.x() + work.width();
    const int bottom = work.y() + work.height();
    struct Case {
        const char* what;
        QSize size;
        QPoint requested;
        QPoint expected;
    };
    const QSize small(160, 120);
    const QSize huge(work.width() + 40, work.height() + 30);
    const std::vector<Case> cases = {
        {"inside", small, work.topLeft() + QPoint(40, 30), work.topLeft() + QPoint(40, 30)},
        {"past the right edge", small, QPoint(right - 50, work.y() + 30), QPoint(right - 160, work.y() + 30)},
        {"past the bottom edge", small, QPoint(work.x() + 40, bottom - 20), QPoint(work.x() + 40, bottom - 120)},
        {"past both", small, QPoint(right - 1, bottom - 1), QPoint(right - 160, bottom - 120)},
        {"exactly at both", small, QPoint(right - 160, bottom - 120), QPoint(right - 160, bottom - 120)},
        {"larger than the work area", huge, work.topLeft() + QPoint(10, 10), QPoint(0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        UseMenuOfSize(c.size.width(), c.size.height());
        auto* menu = new CMenuWnd;
        ASSERT_TRUE(menu->Init(Control(QStringLiteral("menubtn")), c.requested));
        HWND hwnd = menu->GetHWND();
        EXPECT_EQ(menu->GetWindowRect(), QRect(c.expected, c.size));
        EXPECT_EQ(menu->GetShadow()->GetWindowRect(), QRect(c.expected, c.size));
        menu->Close(1);
        EXPECT_TRUE(IsGone(hwnd));
    }
}

TEST_F(MenuWndTest, EachOpeningBuildsANewMenuFromTheLayout)
{
    HWND first = OpenMenu();
    ASSERT_NE(first, nullptr);
    kit::test::PressKey(first, VK_ESCAPE);
    ASSERT_TRUE(IsGone(first));

    UseMenuOfSize(150, 100);
    kit::test::FocusWindow(Hwnd());
    HWND second = OpenMenu();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(Menu(second)->GetWindowRect().size(), QSize(150, 100));
    EXPECT_EQ(Menu(second)->GetPaintManager()->FindControl(QStringLiteral("menu_export")), nullptr);
}

TEST_F(MenuWndTest, WithoutALayoutNothingOpensAndTheMenuStaysTheCallers)
{
    QTemporaryDir emptySkin;
    CPaintManagerUI::SetResourcePath(emptySkin.path());
    auto menu = std::make_unique<CMenuWnd>();
    EXPECT_FALSE(menu->Init(Control(QStringLiteral("menubtn")), QPoint(100, 100)));
    EXPECT_EQ(menu->GetHWND(), nullptr);
    EXPECT_TRUE(WaitUntil([] { return kit::test::FindWindow(QStringLiteral("UIShadow")) == nullptr; }, 2000));

    EXPECT_FALSE(CMenuWnd().Init(nullptr, QPoint(100, 100)));
}

} // namespace

namespace {

TEST_F(MenuWndTest, TheShadowFollowsMovesWithoutRedrawAndRedrawsOncePerBurstOfSizeChanges)
{
    HWND hwnd = OpenMenu();
    ASSERT_NE(hwnd, nullptr);
    CMenuWnd* menu = Menu(hwnd);
    CShadowWnd* shadow = menu->GetShadow();
    ASSERT_NE(shadow, nullptr);
    ASSERT_TRUE(WaitUntil([shadow] { return shadow->GetRedrawCount() >= 1; }, 2000));
    ProcessEvents(40);
    const int drawn = shadow->GetRedrawCount();

    const QPoint moved = menu->GetWindowRect().topLeft() - QPoint(30, 20);
    menu->MoveWindow(moved.x(), moved.y());
    ProcessEvents(60);
    EXPECT_EQ(shadow->GetWindowRect(), menu->GetWindowRect());
    EXPECT_EQ(shadow->GetWindowRect().topLeft(), moved);
    EXPECT_EQ(shadow->GetRedrawCount(), drawn) << "a move keeps the picture";

    // Three size changes before the timer can tick.
    menu->ResizeClient(190, 150);
    menu->ResizeClient(200, 160);
    menu->ResizeClient(210, 170);
    EXPECT_TRUE(WaitUntil([&] { return shadow->GetRedrawCount() > drawn; }, 2000));
    ProcessEvents(60);
    EXPECT_EQ(shadow->GetRedrawCount(), drawn + 1);
    EXPECT_EQ(shadow->GetWindowRect(), QRect(moved, QSize(210, 170)));
    EXPECT_EQ(shadow->GetHWND()->grab().size(), QSize(210, 170));
    EXPECT_EQ(hwnd->mask().boundingRect(), QRect(8, 8, 210 - 16, 170 - 16));
}

} // namespace
