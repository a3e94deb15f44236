#include "tests/ui/kit/KitTestFixture.h"
#include "ui/kit/CButtonUI.h"
#include "ui/kit/CEditUI.h"
#include "ui/kit/CListUI.h"
#include "ui/kit/WindowApi.h"
#include "ui/kit/WindowWidget.h"

#include <QApplication>
#include <QTest>
#include <QThread>
#include <QWidget>

#include <atomic>
#include <thread>

using WindowMessagesTest = KitWindowTest;

namespace {

std::vector<WPARAM> Params(const std::vector<KitTestWindow::Message>& messages)
{
    std::vector<WPARAM> params;
    for (const auto& m : messages)
        params.push_back(m.wParam);
    return params;
}

} // namespace

TEST_F(WindowMessagesTest, KeysTypedIntoTheWindowArriveAsKeyDownThenChar)
{
    KitTestWindow& window = OpenWindow();
    ASSERT_TRUE(kit::test::WindowHasFocus(window.GetHWND())) << "a new window keeps the focus itself";
    window.messages.clear();

    kit::test::TypeText(window.GetHWND(), "a1,Z\n");

    EXPECT_EQ(Params(window.MessagesOf(WM_KEYDOWN)),
              (std::vector<WPARAM>{'A', '1', VK_OEM_COMMA, 'Z', VK_RETURN}));
    EXPECT_EQ(Params(window.MessagesOf(WM_CHAR)), (std::vector<WPARAM>{'a', '1', ',', 'Z'}))
        << "Enter gives no character";
    // Each WM_CHAR follows its WM_KEYDOWN.
    ASSERT_GE(window.messages.size(), 2u);
    EXPECT_EQ(window.messages[0].uMsg, WM_KEYDOWN);
    EXPECT_EQ(window.messages[1].uMsg, WM_CHAR);
}

TEST_F(WindowMessagesTest, KeysTypedIntoAnEditBoxBelongToIt)
{
    KitTestWindow& window = OpenWindow();
    auto* edit = Find<CEditUI>("edit");
    ASSERT_TRUE(kit::test::FocusControl(edit));
    window.messages.clear();

    kit::test::TypeText(window.GetHWND(), "12,ab\n");
    kit::test::PressKey(window.GetHWND(), VK_ESCAPE);

    EXPECT_EQ(edit->GetText(), QStringLiteral("12,ab"));
    EXPECT_TRUE(window.MessagesOf(WM_KEYDOWN).empty());
    EXPECT_TRUE(window.MessagesOf(WM_CHAR).empty());
}

TEST_F(WindowMessagesTest, ClickingAButtonGivesTheFocusBackToTheWindow)
{
    KitTestWindow& window = OpenWindow();
    auto* edit = Find<CEditUI>("edit");
    ASSERT_TRUE(kit::test::FocusControl(edit));
    ASSERT_TRUE(kit::test::Click(window.FindControl("okbtn")));
    EXPECT_TRUE(kit::test::WindowHasFocus(window.GetHWND()));

    window.messages.clear();
    kit::test::TypeText(window.GetHWND(), "x");
    EXPECT_EQ(Params(window.MessagesOf(WM_CHAR)), (std::vector<WPARAM>{'x'}));
    EXPECT_TRUE(edit->GetText().isEmpty());
}

TEST_F(WindowMessagesTest, KeysOnTheListReachTheWindowFirst)
{
    KitTestWindow& window = OpenWindow();
    auto* list = Find<CListUI>("list");
    for (int i = 0; i < 5; ++i) {
        auto* row = new CListTextElementUI;
        row->SetText(0, QString::number(i));
        list->Add(row);
    }
    ASSERT_TRUE(kit::test::ClickListRow(list, 1));
    ASSERT_EQ(list->GetCurSel(), 1);
    ASSERT_EQ(kit::test::FocusedControlName(window.GetHWND()), QStringLiteral("list"));

    // Swallowed by the window: the list never sees the key.
    window.onMessage = [](UINT uMsg, WPARAM wParam, LPARAM, LRESULT& result) {
        result = 0;
        return uMsg == WM_KEYDOWN && wParam == VK_DOWN;
    };
    window.messages.clear();
    kit::test::PressKey(window.GetHWND(), VK_DOWN);
    EXPECT_EQ(Params(window.MessagesOf(WM_KEYDOWN)), (std::vector<WPARAM>{VK_DOWN}));
    EXPECT_EQ(list->GetCurSel(), 1);

    // Passed to the base: the list moves its selection.
    window.onMessage = nullptr;
    kit::test::PressKey(window.GetHWND(), VK_DOWN);
    EXPECT_EQ(list->GetCurSel(), 2);
}

TEST_F(WindowMessagesTest, CloseDestroysTheWindowAndSendsTheFinalMessage)
{
    KitTestWindow& window = OpenWindow();
    HWND hwnd = window.GetHWND();
    window.Close(7);
    EXPECT_NE(window.GetHWND(), nullptr) << "Close is posted";
    ASSERT_TRUE(kit::test::WaitForWindowGone(hwnd));
    EXPECT_EQ(window.GetHWND(), nullptr);
    EXPECT_EQ(window.finalMessages, 1);
    EXPECT_FALSE(window.MessagesOf(WM_DESTROY).empty());
    EXPECT_EQ(window.MessagesOf(WM_CLOSE).at(0).wParam, 7u);
}

TEST_F(WindowMessagesTest, ClosebtnClosesThroughTheWindowBase)
{
    KitTestWindow& window = OpenWindow();
    HWND hwnd = window.GetHWND();
    auto* button = new CButtonUI;
    button->SetName("closebtn");
    dynamic_cast<CContainerUI*>(window.FindControl("row"))->Add(button);
    ASSERT_TRUE(kit::test::Click(button));
    EXPECT_TRUE(kit::test::WaitForWindowGone(hwnd));
}

TEST_F(WindowMessagesTest, ShowModalDisablesTheOwnerUntilTheWindowIsGone)
{
    KitTestWindow& owner = OpenWindow();
    bool deleted = false;
    auto* dialog = new KitTestWindow(QStringLiteral("Probe.xml"), &deleted);
    dialog->deleteOnFinal = true;
    dialog->windowClass = "ModalProbe";
    dialog->Create(owner.GetHWND(), "dialog", UI_WNDSTYLE_DIALOG, 0);
    dialog->CenterWindow();

    bool ownerEnabledWhileOpen = true;
    bool ownerClickIgnored = false;
    kit::test::WhenModalWindowShown("ModalProbe", [&](HWND shown) {
        ownerEnabledWhileOpen = kit::IsWindowEnabled(owner.GetHWND());
        owner.notifications.clear();
        kit::test::Click(owner.FindControl("okbtn"));
        ownerClickIgnored = owner.notifications.empty();
        CWindowWnd::FromHandle(shown)->Close(5);
    });
    const UINT result = dialog->ShowModal();

    EXPECT_EQ(result, 5u);
    EXPECT_TRUE(deleted) << "the object deleted itself in OnFinalMessage";
    EXPECT_FALSE(ownerEnabledWhileOpen);
    EXPECT_TRUE(ownerClickIgnored);
    EXPECT_TRUE(kit::IsWindowEnabled(owner.GetHWND()));
}

TEST_F(WindowMessagesTest, CloseFromAWorkerThreadEndsTheModalLoop)
{
    KitTestWindow& window = OpenWindow();
    std::thread worker([&] {
        QThread::msleep(100);
        window.Close(3);
    });
    EXPECT_EQ(window.ShowModal(), 3u);
    worker.join();
    EXPECT_EQ(window.GetHWND(), nullptr);
}

TEST_F(WindowMessagesTest, AWindowShownFromAWorkerRunsOnTheGuiThreadWhileTheWorkerWaits)
{
    std::atomic<bool> workerDone{false};
    std::atomic<UINT> result{0};
    QThread* widgetThread = nullptr;
    bool workerWaitedWhileShown = false;
    bool deleted = false;
    // The modal loop runs on this thread, inside the wait below: act from it.
    kit::test::WhenModalWindowShown("WorkerPrompt", [&](HWND shown) {
        widgetThread = shown->thread();
        workerWaitedWhileShown = !workerDone;
        kit::test::Click(shown, "okbtn");
        CWindowWnd::FromHandle(shown)->Close(9);
    });
    std::thread worker([&] {
        auto* prompt = new KitTestWindow(QStringLiteral("Probe.xml"), &deleted);
        prompt->deleteOnFinal = true;
        prompt->windowClass = "WorkerPrompt";
        prompt->Create(nullptr, "prompt", UI_WNDSTYLE_DIALOG, 0);
        prompt->CenterWindow();
        result = prompt->ShowModal();
        workerDone = true;
    });
    ASSERT_TRUE(kit::test::WaitUntil([&] { return workerDone.load(); }));
    worker.join();
    EXPECT_EQ(widgetThread, QApplication::instance()->thread());
    EXPECT_TRUE(workerWaitedWhileShown);
    EXPECT_EQ(result, 9u);
    EXPECT_TRUE(deleted);
}

TEST_F(WindowMessagesTest, TimersDeliverTheirIdUntilKilled)
{
    KitTestWindow& window = OpenWindow();
    EXPECT_TRUE(window.SetTimer(9000, 10));
    ASSERT_TRUE(kit::test::WaitUntil([&] { return window.MessagesOf(WM_TIMER).size() >= 2; }));
    EXPECT_EQ(window.MessagesOf(WM_TIMER).front().wParam, 9000u);
    EXPECT_TRUE(window.KillTimer(9000));
    const size_t count = window.MessagesOf(WM_TIMER).size();
    kit::test::ProcessEvents(60);
    EXPECT_EQ(window.MessagesOf(WM_TIMER).size(), count);
    EXPECT_FALSE(window.KillTimer(9000));
}

TEST_F(WindowMessagesTest, SizeMoveAndMinimiseBecomeMessages)
{
    KitTestWindow& window = OpenWindow();
    window.messages.clear();
    window.ResizeClient(500, 320);
    window.MoveWindow(40, 50);
    kit::test::ProcessEvents();
    ASSERT_FALSE(window.MessagesOf(WM_SIZE).empty());
    const auto size = window.MessagesOf(WM_SIZE).back();
    EXPECT_EQ(LOWORD(size.lParam), 500u);
    EXPECT_EQ(HIWORD(size.lParam), 320u);
    EXPECT_FALSE(window.MessagesOf(WM_MOVE).empty());
    EXPECT_EQ(window.GetWindowRect().topLeft(), QPoint(40, 50));
    EXPECT_EQ(window.FindControl("root")->GetPos().size(), QSize(500, 320)) << "the layout follows";

    window.SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(kit::test::WaitUntil([&] { return window.IsMinimized(); }));
}

TEST_F(WindowMessagesTest, DraggingTheCaptionBandMovesTheWindow)
{
    KitTestWindow& window = OpenWindow();
    window.MoveWindow(100, 100);
    kit::test::ProcessEvents();
    QWidget* target = window.GetHWND()->childAt(200, 10);
    ASSERT_NE(target, nullptr) << "the title label";
    const QPoint start = target->mapFrom(window.GetHWND(), QPoint(200, 10));
    QTest::mousePress(target, Qt::LeftButton, Qt::NoModifier, start);
    QTest::mouseMove(target, start + QPoint(30, 20));
    QTest::mouseRelease(target, Qt::LeftButton, Qt::NoModifier, start + QPoint(30, 20));
    EXPECT_EQ(window.GetWindowRect().topLeft(), QPoint(130, 120));

    // Below the band nothing moves.
    QWidget* list = window.FindControl("list")->GetWidget();
    QTest::mousePress(list, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTest::mouseMove(list, QPoint(45, 45));
    QTest::mouseRelease(list, Qt::LeftButton, Qt::NoModifier, QPoint(45, 45));
    EXPECT_EQ(window.GetWindowRect().topLeft(), QPoint(130, 120));
}

TEST_F(WindowMessagesTest, FocusLossNamesTheWindowThatGotIt)
{
    KitTestWindow& first = OpenWindow();
    KitTestWindow second;
    second.Create(nullptr, "second", UI_WNDSTYLE_FRAME, 0);
    first.messages.clear();
    second.ShowWindow(true, true);
    ASSERT_TRUE(kit::test::WaitUntil([&] { return !first.MessagesOf(WM_KILLFOCUS).empty(); }));
    EXPECT_EQ(first.MessagesOf(WM_KILLFOCUS).front().wParam,
              reinterpret_cast<WPARAM>(second.GetHWND()));
    second.SendMessage(WM_CLOSE);
}
