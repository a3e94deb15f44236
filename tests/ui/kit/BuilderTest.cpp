#include "tests/ui/kit/KitTestFixture.h"
#include "ui/kit/CButtonUI.h"
#include "ui/kit/CDialogBuilder.h"
#include "ui/kit/CEditUI.h"
#include "ui/kit/CHorizontalLayoutUI.h"
#include "ui/kit/CLabelUI.h"
#include "ui/kit/CListUI.h"
#include "ui/kit/COptionUI.h"
#include "ui/kit/CProgressUI.h"
#include "ui/kit/CTabLayoutUI.h"
#include "ui/kit/CVerticalLayoutUI.h"

#include <QFontInfo>

using BuilderTest = KitWindowTest;

TEST_F(BuilderTest, BuildsTheLayoutOnceAndFindsControlsByName)
{
    KitTestWindow& window = OpenWindow();
    EXPECT_EQ(window.layoutReadyCalls, 1);
    EXPECT_NE(Find<CVerticalLayoutUI>("root"), nullptr);
    EXPECT_NE(Find<CHorizontalLayoutUI>("row"), nullptr);
    EXPECT_NE(Find<CButtonUI>("okbtn"), nullptr);
    EXPECT_NE(Find<COptionUI>("optB"), nullptr);
    EXPECT_NE(Find<CEditUI>("edit"), nullptr);
    EXPECT_NE(Find<CTabLayoutUI>("tabs"), nullptr);
    EXPECT_NE(Find<CProgressUI>("progress"), nullptr);
    EXPECT_EQ(Find<CLabelUI>("title")->GetText(), QStringLiteral("标题"));
    EXPECT_EQ(window.FindControl("nosuchcontrol"), nullptr);
    EXPECT_EQ(window.FindControl("Title"), nullptr) << "names are case-sensitive";

    auto* list = Find<CListUI>("list");
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->GetColumnCount(), 2);
    EXPECT_EQ(list->GetColumnText(1), QStringLiteral("代码"));
    EXPECT_EQ(list->GetColumnWidth(0), 60);
}

TEST_F(BuilderTest, UnknownTagsGoToTheCallbackWithAttributesAndChildren)
{
    KitTestWindow& window = OpenWindow();
    EXPECT_EQ(window.askedClasses, (std::vector<QString>{"Probe", "Mystery"}));
    CControlUI* custom = window.FindControl("custom");
    ASSERT_NE(custom, nullptr);
    EXPECT_EQ(custom->GetBkColor(), 0x80FF0000u);
    ASSERT_NE(window.FindControl("insideCustom"), nullptr);
    EXPECT_EQ(window.FindControl("insideCustom")->GetParent(), custom);
    EXPECT_EQ(window.FindControl("unknown"), nullptr) << "a null answer skips the element";
}

TEST_F(BuilderTest, WindowTakesTheLayoutSizeAndPlacesChildren)
{
    KitTestWindow& window = OpenWindow();
    EXPECT_EQ(window.GetClientRect().size(), QSize(420, 300));

    // Vertical layout with inset 10,0,10,10 and child padding 4.
    EXPECT_EQ(window.FindControl("title")->GetPos(), QRect(10, 0, 400, 30));
    EXPECT_EQ(window.FindControl("row")->GetPos(), QRect(10, 34, 400, 32));
    // Horizontal row: fixed widths with 6 between, the edit stretches.
    EXPECT_EQ(window.FindControl("okbtn")->GetPos(), QRect(10, 34, 80, 32));
    EXPECT_EQ(window.FindControl("optA")->GetPos().left(), 96);
    const QRect edit = window.FindControl("edit")->GetPos();
    const QRect date = window.FindControl("date")->GetPos();
    EXPECT_EQ(edit.left(), 96 + 60 + 6 + 60 + 6);
    EXPECT_EQ(edit.right() + 1 + 6, date.left());
    EXPECT_EQ(date.right(), 409);
    // The list takes what the fixed rows leave: 300 - 10 - 30 - 32 - 40 - 20 - 8 - 5 * 4.
    EXPECT_EQ(window.FindControl("list")->GetPos().height(), 140);
}

TEST_F(BuilderTest, FontsAndColoursComeFromTheLayout)
{
    KitTestWindow& window = OpenWindow();
    CPaintManagerUI* manager = window.GetPaintManager();
    EXPECT_EQ(manager->GetFont(1).pixelSize(), 18);
    EXPECT_TRUE(manager->GetFont(1).bold());
    EXPECT_EQ(manager->GetFont(-1).pixelSize(), 13) << "-1 is the default font";
    EXPECT_EQ(manager->GetFont(42).pixelSize(), 13) << "an unknown index is the default font";
    EXPECT_EQ(Find<CLabelUI>("title")->GetTextColor(), 0xFF112233u);
    EXPECT_EQ(manager->GetCaptionRect(), QRect(QPoint(0, 0), QPoint(0, 30)));
    EXPECT_EQ(manager->GetRoundCorner(), QSize(8, 8));
}

TEST(DialogBuilder, ColourForms)
{
    CDialogBuilder builder;
    CPaintManagerUI manager;
    std::unique_ptr<CControlUI> root(builder.CreateFromText(
        "<VerticalLayout><Label name='a' textcolor='#80112233'/><Label name='b' textcolor='#112233'/>"
        "<Label name='c' textcolor='0xFF445566'/><Label name='d' textcolor='nonsense'/></VerticalLayout>",
        nullptr, &manager));
    ASSERT_NE(root, nullptr);
    auto color = [&](const char* name) { return dynamic_cast<CLabelUI*>(manager.FindControl(name))->GetTextColor(); };
    EXPECT_EQ(color("a"), 0x80112233u);
    EXPECT_EQ(color("b"), 0xFF112233u) << "six digits are opaque";
    EXPECT_EQ(color("c"), 0xFF445566u);
    EXPECT_EQ(color("d"), 0u);
}

TEST(DialogBuilder, MissingOrBrokenLayoutsGiveNullWithAReason)
{
    CDialogBuilder builder;
    EXPECT_EQ(builder.Create("/nonexistent/layout.xml"), nullptr);
    EXPECT_FALSE(builder.GetLastError().isEmpty());
    EXPECT_EQ(builder.CreateFromText("<Window><VerticalLayout><Label></VerticalLayout></Window>"), nullptr);
    EXPECT_FALSE(builder.GetLastError().isEmpty());
}

TEST_F(BuilderTest, SkinFolderWithBackslashResolvesUnderTheInstancePath)
{
    // Without a resource path, layouts come from the instance path plus the
    // window's skin folder, written either way.
    CPaintManagerUI::SetResourcePath(QString());
    const QString savedInstance = CPaintManagerUI::GetInstancePath();
    CPaintManagerUI::SetInstance(QStringLiteral(KIT_TEST_LAYOUTS "/.."));
    struct BackslashWindow : KitTestWindow {
        QString SkinFolder() override { return QStringLiteral("layouts\\"); }
    };
    BackslashWindow window;
    EXPECT_NE(window.Create(nullptr, "w", UI_WNDSTYLE_FRAME, 0), nullptr);
    EXPECT_NE(window.FindControl("okbtn"), nullptr);
    window.SendMessage(WM_CLOSE);
    CPaintManagerUI::SetInstance(savedInstance);
}

TEST_F(BuilderTest, MissingLayoutFailsCreationWithoutAFinalMessage)
{
    auto window = std::make_unique<KitTestWindow>(QStringLiteral("NoSuchLayout.xml"));
    EXPECT_EQ(window->Create(nullptr, "w", UI_WNDSTYLE_DIALOG, 0), nullptr);
    EXPECT_EQ(window->GetHWND(), nullptr);
    EXPECT_EQ(window->ShowModal(), 0u) << "returns at once";
    EXPECT_EQ(window->finalMessages, 0);
}
