#include "tests/ui/kit/KitTestFixture.h"
#include "ui/kit/CDateTimeUI.h"
#include "ui/kit/CEditUI.h"
#include "ui/kit/CLabelUI.h"
#include "ui/kit/CListUI.h"
#include "ui/kit/COptionUI.h"
#include "ui/kit/CProgressUI.h"
#include "ui/kit/CTabLayoutUI.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <QWidget>

#include <thread>

using ControlsTest = KitWindowTest;

namespace {

std::vector<QString> Types(const std::vector<TNotifyUI>& notifications)
{
    std::vector<QString> types;
    for (const TNotifyUI& msg : notifications)
        types.push_back(msg.sType);
    return types;
}

} // namespace

TEST_F(ControlsTest, OptionsOfAGroupSelectOneAnother)
{
    KitTestWindow& window = OpenWindow();
    auto* a = Find<COptionUI>("optA");
    auto* b = Find<COptionUI>("optB");
    ASSERT_TRUE(a->IsSelected());

    kit::test::Click(a);
    EXPECT_EQ(Types(window.notifications), (std::vector<QString>{"click"}))
        << "the selected option reports no change";

    window.notifications.clear();
    kit::test::Click(b);
    EXPECT_TRUE(b->IsSelected());
    EXPECT_FALSE(a->IsSelected());
    ASSERT_EQ(Types(window.notifications), (std::vector<QString>{"click", "selectchanged"}));
    EXPECT_EQ(window.notifications.back().pSender, b);
    EXPECT_TRUE(kit::test::WindowHasFocus(window.GetHWND()));
}

TEST_F(ControlsTest, TabLayoutShowsOnlyTheSelectedPage)
{
    KitTestWindow& window = OpenWindow();
    auto* tabs = Find<CTabLayoutUI>("tabs");
    QWidget* page0 = window.FindControl("page0")->GetWidget();
    QWidget* page1 = window.FindControl("page1")->GetWidget();
    EXPECT_EQ(tabs->GetCurSel(), 0);
    EXPECT_TRUE(page0->isVisible());
    EXPECT_FALSE(page1->isVisible());

    EXPECT_TRUE(tabs->SelectItem(1));
    EXPECT_EQ(tabs->GetCurSel(), 1);
    EXPECT_FALSE(page0->isVisible());
    EXPECT_TRUE(page1->isVisible());
    EXPECT_EQ(window.notifications.back().sType, QStringLiteral("tabselect"));

    window.notifications.clear();
    EXPECT_TRUE(tabs->SelectItem(0, false));
    EXPECT_TRUE(window.notifications.empty());
    EXPECT_FALSE(tabs->SelectItem(5));
    EXPECT_EQ(tabs->GetCurSel(), 0);
}

TEST_F(ControlsTest, ListHoldsManyRowsAndShowsThem)
{
    OpenWindow();
    auto* list = Find<CListUI>("list");
    constexpr int kRows = 100000;
    for (int i = 0; i < kRows; ++i) {
        auto* row = new CListTextElementUI;
        list->Add(row);
        row->SetText(0, QString::number(i));
        row->SetText(1, QStringLiteral("代码%1").arg(i));
    }
    EXPECT_EQ(list->GetCount(), kRows);
    EXPECT_EQ(list->GetCurSel(), -1);
    EXPECT_EQ(list->GetItemAt(kRows - 1)->GetText(1), QStringLiteral("代码99999"));
    EXPECT_EQ(list->GetItemAt(kRows), nullptr);
    EXPECT_EQ(list->GetItemAt(-1), nullptr);
    EXPECT_EQ(list->GetItemAt(5)->GetText(7), QString()) << "a column never set is empty";

    auto* view = qobject_cast<QAbstractItemView*>(list->GetWidget());
    ASSERT_TRUE(kit::test::WaitUntil([&] { return view->model()->rowCount() == kRows; }));
    EXPECT_EQ(view->model()->index(42, 1).data().toString(), QStringLiteral("代码42"));

    EXPECT_TRUE(list->SelectItem(kRows - 1));
    EXPECT_EQ(list->GetCurSel(), kRows - 1);
    list->RemoveAll();
    EXPECT_EQ(list->GetCount(), 0);
    EXPECT_EQ(list->GetCurSel(), -1);
    EXPECT_EQ(view->model()->rowCount(), 0);
}

TEST_F(ControlsTest, ClickingARowSelectsItAndReportsBoth)
{
    KitTestWindow& window = OpenWindow();
    auto* list = Find<CListUI>("list");
    for (int i = 0; i < 3; ++i) {
        auto* row = new CListTextElementUI;
        row->SetText(0, QString::number(i));
        list->Add(row);
    }
    EXPECT_FALSE(list->Add(nullptr));
    ASSERT_TRUE(kit::test::ClickListRow(list, 2));
    EXPECT_EQ(list->GetCurSel(), 2);
    EXPECT_EQ(Types(window.notifications), (std::vector<QString>{"itemselect", "itemclick"}));
    EXPECT_EQ(window.notifications.back().wParam, 2u);

    // Rows changed after they are shown update the view.
    list->GetItemAt(0)->SetText(0, "zero");
    auto* view = qobject_cast<QAbstractItemView*>(list->GetWidget());
    EXPECT_EQ(view->model()->index(0, 0).data().toString(), QStringLiteral("zero"));
}

TEST_F(ControlsTest, DateFieldTextIsADateOrEmpty)
{
    OpenWindow();
    auto* date = Find<CDateTimeUI>("date");
    EXPECT_EQ(date->GetText(), QString());

    struct Case {
        QString set;
        QString expected;
    };
    const Case cases[] = {
        {"2019-01-02", "2019-01-02"}, {"", ""},           {"2019/1/2", "2019-01-02"},
        {"20190102", "2019-01-02"},   {"2019-02-30", ""}, {"abc", ""},
    };
    for (const Case& c : cases) {
        date->SetText(c.set);
        EXPECT_EQ(date->GetText(), c.expected) << qPrintable(c.set);
    }
    date->SetText("2020-05-06");
    auto* edit = date->GetWidget()->findChild<QLineEdit*>();
    EXPECT_EQ(edit->text(), QStringLiteral("2020-05-06")) << "shown in the field";
    date->SetText("");
    EXPECT_TRUE(edit->text().isEmpty());
    EXPECT_FALSE(edit->placeholderText().isEmpty());
}

TEST_F(ControlsTest, TheClerkTypesOrPicksADate)
{
    KitTestWindow& window = OpenWindow();
    auto* date = Find<CDateTimeUI>("date");
    ASSERT_TRUE(kit::test::TypeInto(date, "2019-1-2"));
    EXPECT_TRUE(window.MessagesOf(WM_CHAR).empty()) << "keys belong to the field";
    EXPECT_EQ(date->GetText(), QStringLiteral("2019-01-02"));
    kit::test::FocusWindow(window.GetHWND());
    EXPECT_EQ(date->GetWidget()->findChild<QLineEdit*>()->text(), QStringLiteral("2019-01-02"))
        << "normalised when the field is left";

    date->SetText("");
    ASSERT_TRUE(kit::test::TypeInto(date, "2019-13-4x"));
    EXPECT_EQ(date->GetWidget()->findChild<QLineEdit*>()->text(), QStringLiteral("2019-13-4"))
        << "letters are refused";
    EXPECT_EQ(date->GetText(), QString()) << "no such date";

    auto* button = date->GetWidget()->findChild<QToolButton*>();
    QTest::mouseClick(button, Qt::LeftButton);
    QCalendarWidget* calendar = date->GetWidget()->findChild<QCalendarWidget*>();
    ASSERT_NE(calendar, nullptr);
    ASSERT_TRUE(kit::test::WaitUntil([&] { return calendar->isVisible(); }));
    emit calendar->clicked(QDate(2021, 3, 4));
    EXPECT_EQ(date->GetText(), QStringLiteral("2021-03-04"));
}

TEST_F(ControlsTest, LabelsAndEditsKeepTheirLook)
{
    OpenWindow();
    auto* title = Find<CLabelUI>("title");
    title->SetTextColor(0xFFFF0000);
    title->SetFont(1);
    EXPECT_EQ(title->GetTextColor(), 0xFFFF0000u);
    EXPECT_EQ(title->GetFont(), 1);
    auto* edit = Find<CEditUI>("edit");
    edit->SetText("abc");
    EXPECT_EQ(edit->GetText(), QStringLiteral("abc"));
    EXPECT_EQ(qobject_cast<QLineEdit*>(edit->GetWidget())->text(), QStringLiteral("abc"));
}

TEST_F(ControlsTest, SettersFromAWorkerArePostedToTheGuiThread)
{
    KitTestWindow& window = OpenWindow();
    auto* progress = Find<CProgressUI>("progress");
    auto* title = Find<CLabelUI>("title");
    std::thread worker([&] {
        progress->SetValue(40);
        progress->SetValue(140);
        title->SetText("done");
    });
    worker.join();
    ASSERT_TRUE(kit::test::WaitUntil([&] { return title->GetText() == QStringLiteral("done"); }));
    EXPECT_EQ(progress->GetValue(), 100) << "clamped to the range";

    // Posted after the window and its controls are gone: dropped.
    std::thread late([&] {
        title->SetText("late");
        progress->SetValue(5);
    });
    late.join();
    window.SendMessage(WM_CLOSE);
    m_window.reset();
    kit::test::ProcessEvents(20);
    SUCCEED();
}
