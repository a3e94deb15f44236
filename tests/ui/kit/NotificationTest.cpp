#include "tests/ui/kit/KitTestFixture.h"
#include "ui/kit/CButtonUI.h"
#include "ui/kit/CNotifyPump.h"

#include <thread>

using NotificationTest = KitWindowTest;

TEST_F(NotificationTest, AClickReachesNotifyWithSenderAndMousePoint)
{
    KitTestWindow& window = OpenWindow();
    CControlUI* button = window.FindControl("okbtn");
    ASSERT_TRUE(kit::test::Click(button));
    ASSERT_EQ(window.notifications.size(), 1u);
    const TNotifyUI& msg = window.notifications.front();
    EXPECT_EQ(msg.sType, QStringLiteral("click"));
    EXPECT_EQ(msg.pSender, button);
    EXPECT_EQ(msg.ptMouse, button->GetPos().center()) << "window client coordinates";
}

TEST_F(NotificationTest, DisabledButtonsSendNothing)
{
    KitTestWindow& window = OpenWindow();
    window.FindControl("okbtn")->SetEnabled(false);
    kit::test::Click(window.FindControl("okbtn"));
    EXPECT_TRUE(window.notifications.empty());
}

TEST(NotifyPump, MatchesTypeAndNameAndPrefersLaterEntries)
{
    CNotifyPump pump;
    CButtonUI ok;
    ok.SetName("ok");
    CButtonUI other;
    other.SetName("other");
    std::vector<QString> calls;
    pump.AddNotifyEntry("click", QString(), [&](TNotifyUI&) { calls.push_back("any click"); });
    pump.AddNotifyEntry("click", "ok", [&](TNotifyUI&) { calls.push_back("ok click"); });

    struct Case {
        QString type;
        CControlUI* sender;
        bool handled;
        QString call;
    };
    const Case cases[] = {
        {"click", &ok, true, "ok click"},
        {"click", &other, true, "any click"},
        {"click", nullptr, true, "any click"},
        {"Click", &ok, false, ""},
        {"selectchanged", &ok, false, ""},
    };
    for (const Case& c : cases) {
        calls.clear();
        TNotifyUI msg;
        msg.sType = c.type;
        msg.pSender = c.sender;
        EXPECT_EQ(pump.LoopDispatch(msg), c.handled) << qPrintable(c.type);
        EXPECT_EQ(calls.empty() ? QString() : calls.front(), c.call) << qPrintable(c.type);
        EXPECT_LE(calls.size(), 1u);
    }
}

TEST_F(NotificationTest, TheBaseMapSendsClicksToOnClick)
{
    struct ClickWindow : KitTestWindow {
        void OnClick(TNotifyUI& msg) override { clicked.push_back(msg.pSender->GetName()); }
        std::vector<QString> clicked;
    };
    CPaintManagerUI::SetResourcePath(QStringLiteral(KIT_TEST_LAYOUTS));
    ClickWindow window;
    window.Create(nullptr, "w", UI_WNDSTYLE_FRAME, 0);
    window.ShowWindow();
    kit::test::ProcessEvents();
    kit::test::Click(window.FindControl("okbtn"));
    EXPECT_EQ(window.clicked, (std::vector<QString>{"okbtn"}));
    window.SendMessage(WM_CLOSE);
}

TEST_F(NotificationTest, AsyncNotificationsArriveAfterTheSenderReturned)
{
    KitTestWindow& window = OpenWindow();
    CControlUI* button = window.FindControl("okbtn");
    std::vector<QString> order;
    window.onNotify = [&](TNotifyUI& msg) {
        order.push_back(msg.sType);
        if (msg.sType == QLatin1String("click")) {
            window.GetPaintManager()->SendNotify(button, "menu_export", 0, 0, true);
            window.GetPaintManager()->SendNotify(button, "now", 0, 0, false);
            order.push_back("handler done");
        }
    };
    kit::test::Click(button);
    EXPECT_EQ(order, (std::vector<QString>{"click", "now", "handler done"}));
    ASSERT_TRUE(kit::test::WaitUntil([&] { return order.size() == 4; }));
    EXPECT_EQ(order.back(), QStringLiteral("menu_export"));
    EXPECT_EQ(window.notifications.back().pSender, button);
}

TEST_F(NotificationTest, AsyncNotificationsOfAGoneSenderAreDropped)
{
    KitTestWindow& window = OpenWindow();
    auto* button = new CButtonUI;
    auto* row = dynamic_cast<CContainerUI*>(window.FindControl("row"));
    row->Add(button);
    window.GetPaintManager()->SendNotify(button, "late", 0, 0, true);
    row->Remove(button);
    kit::test::ProcessEvents(20);
    for (const TNotifyUI& msg : window.notifications)
        EXPECT_NE(msg.sType, QStringLiteral("late"));
}

TEST_F(NotificationTest, NotificationsFromAWorkerArriveOnTheGuiThread)
{
    KitTestWindow& window = OpenWindow();
    std::thread::id seenOn;
    window.onNotify = [&](TNotifyUI&) { seenOn = std::this_thread::get_id(); };
    std::thread worker([&] { window.GetPaintManager()->SendNotify(window.FindControl("okbtn"), "done"); });
    worker.join();
    ASSERT_TRUE(kit::test::WaitUntil([&] { return !window.notifications.empty(); }));
    EXPECT_EQ(seenOn, std::this_thread::get_id());
}
