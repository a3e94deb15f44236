#include "app/CKestrinWnd.h"
#include "store/CAdoConnection.h"
#include "ui/CGroupBoxUI.h"
#include "ui/kit/CDialogBuilder.h"
#include "ui/kit/CPaintManagerUI.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr DWORD kFrame = 0xFFFF0000;

class GroupBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QFont font(QStringLiteral("WenQuanYi Micro Hei"));
        font.setPixelSize(15);
        m_manager.AddFont(0, font, true);
        QFont bold = font;
        bold.setBold(true);
        m_manager.AddFont(1, bold);
    }

    std::unique_ptr<CGroupBoxUI> MakeBox(const QString& caption, int round)
    {
        auto box = std::make_unique<CGroupBoxUI>();
        box->SetManager(&m_manager, nullptr);
        box->SetAttribute(QStringLiteral("text"), caption);
        box->SetAttribute(QStringLiteral("font"), QStringLiteral("1"));
        box->SetAttribute(QStringLiteral("textcolor"), QStringLiteral("#FF0000FF"));
        box->SetAttribute(QStringLiteral("bordercolor"), QStringLiteral("#FFFF0000"));
        box->SetAttribute(QStringLiteral("borderround"), QStringLiteral("%1,%1").arg(round));
        box->SetPos(m_pos);
        return box;
    }

    // Paints the box as its window would, onto a transparent picture.
    QImage Render(CGroupBoxUI& box) const
    {
        QImage image(m_pos.size() + QSize(20, 20), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            box.DoPaint(painter);
        }
        return image.convertToFormat(QImage::Format_ARGB32);
    }

    static bool IsFrame(QRgb p)
    {
        return qAlpha(p) > 200 && qRed(p) > 200 && qGreen(p) < 60 && qBlue(p) < 60;
    }

    CPaintManagerUI m_manager;
    const QRect m_pos{10, 10, 300, 180};
};

TEST(GroupBoxFactory, TheMainWindowMakesAGroupBoxForTheNameInAnyLetterCase)
{
    CAdoConnection connection;
    CKestrinWnd window(connection);
    for (const char* name : {"GroupBox", "groupbox", "GROUPBOX"}) {
        std::unique_ptr<CControlUI> control(window.CreateControl(QLatin1String(name)));
        EXPECT_NE(dynamic_cast<CGroupBoxUI*>(control.get()), nullptr) << name;
    }
    for (const char* name : {"Group", "GroupBoxes", "Box", ""})
        EXPECT_EQ(window.CreateControl(QLatin1String(name)), nullptr) << name;

    // Built from a layout with the window as the builder's callback.
    CPaintManagerUI manager;
    CDialogBuilder builder;
    std::unique_ptr<CControlUI> root(builder.CreateFromText(
        QStringLiteral("<groupbox text=\"发票\" inset=\"10,10,10,10\" childpadding=\"4\" width=\"200\">"
                       "<Label name=\"inside\" /></groupbox>"),
        &window, &manager));
    auto* box = dynamic_cast<CGroupBoxUI*>(root.get());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->GetClass(), QStringLiteral("GroupBox"));
    EXPECT_EQ(box->GetInterface(QStringLiteral("GroupBox")), box);
    EXPECT_EQ(box->GetInterface(QStringLiteral("groupbox")), nullptr);
    EXPECT_EQ(box->GetInterface(QStringLiteral("Container")), box);
    EXPECT_EQ(box->GetCount(), 1);
    EXPECT_EQ(box->GetText(), QStringLiteral("发票"));
    EXPECT_EQ(box->GetFixedWidth(), 200) << "the plain control's attributes apply";
    EXPECT_EQ(box->GetInset(), QMargins()) << "the container's do not";
    EXPECT_EQ(box->GetChildPadding(), 0);
    root.reset();
}

TEST_F(GroupBoxTest, AttributesOfItsOwn)
{
    struct Case {
        const char* name;
        const char* value;
        DWORD color;
        int font;
        bool showHtml;
    };
    const Case cases[] = {
        {"textcolor", "#FF0000FF", 0xFF0000FF, -1, false},
        {"textcolor", "FF0000FF", 0xFF0000FF, -1, false},
        {"textcolor", "#80ff8800 and more", 0x80FF8800, -1, false},
        {"textcolor", "##FF0000FF", 0, -1, false},
        {"textcolor", "#00000000", 0, -1, false},
        {"textcolor", "blue", 0xB, -1, false},
        {"textcolor", "none", 0, -1, false},
        {"font", "3", 0, 3, false},
        {"font", "12px", 0, 12, false},
        {"font", "bold", 0, 0, false},
        {"font", "", 0, 0, false},
        {"showhtml", "true", 0, -1, true},
        {"showhtml", "True", 0, -1, false},
        {"showhtml", "1", 0, -1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + "=" + c.value);
        CGroupBoxUI box;
        box.SetAttribute(QLatin1String(c.name), QString::fromUtf8(c.value));
        EXPECT_EQ(box.GetTextColor(), c.color);
        EXPECT_EQ(box.GetFont(), c.font);
        EXPECT_EQ(box.IsShowHtml(), c.showHtml);
    }
}

TEST_F(GroupBoxTest, TheCaptionIsDrawnWithAlpha254InItsColourOrTheDefaultOne)
{
    m_manager.SetDefaultFontColor(0xFF00A000);
    struct Case {
        const char* textcolor;
        QRgb expected;
    };
    const Case cases[] = {
        {"#FF0000FF", qRgb(0, 0, 255)},
        {"FF0000FF", qRgb(0, 0, 255)},
        {"#800000FF", qRgb(0, 0, 255)}, // the colour's own alpha is not used
        {"#00000000", qRgb(0, 0xA0, 0)},
        {nullptr, qRgb(0, 0xA0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.textcolor != nullptr ? c.textcolor : "unset");
        auto box = MakeBox(QStringLiteral("发票信息"), 8);
        box->SetAttribute(QStringLiteral("textcolor"), c.textcolor != nullptr ? QString::fromLatin1(c.textcolor) : QString());
        const QImage image = Render(*box);
        int strongest = 0;
        QRgb strongestColor = 0;
        // The caption's band, right of the gap's start.
        for (int y = 10; y < 10 + box->GetCaptionHeight(); ++y) {
            for (int x = 10 + 8 + 20; x < 10 + 8 + 20 + box->GetCaptionWidth(); ++x) {
                const QRgb p = image.pixel(x, y);
                if (!IsFrame(p) && qAlpha(p) > strongest) {
                    strongest = qAlpha(p);
                    strongestColor = p;
                }
            }
        }
        EXPECT_EQ(strongest, 254);
        EXPECT_EQ(qRgb(qRed(strongestColor), qGreen(strongestColor), qBlue(strongestColor)), c.expected);
    }
}

TEST_F(GroupBoxTest, TheTopEdgeLeavesAGapAroundTheCaption)
{
    struct Case {
        const char* caption;
        int round;
    };
    const Case cases[] = {{"发票信息", 8}, {"", 8}, {"Kestrin", 0}, {"入库", 14}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("'") + c.caption + "' round " + std::to_string(c.round));
        auto box = MakeBox(QString::fromUtf8(c.caption), c.round);
        const QImage image = Render(*box);
        const int w = box->GetCaptionWidth();
        const int h = box->GetCaptionHeight();
        if (QString::fromUtf8(c.caption).isEmpty()) {
            EXPECT_EQ(w, 0);
        } else {
            const QFontMetricsF metrics(m_manager.GetFont(1));
            EXPECT_NEAR(w, metrics.horizontalAdvance(QString::fromUtf8(c.caption)), 1.0);
            EXPECT_NEAR(h, metrics.height(), 1.0);
        }

        const int left = m_pos.left();
        const int right = m_pos.left() + m_pos.width();
        const int bottom = m_pos.top() + m_pos.height();
        const int ym = m_pos.top() + h / 2;
        const int gapLeft = left + c.round + 15;
        const int gapRight = left + c.round + 25 + w;
        int gap = 0;
        for (int x = left + c.round + 1; x < right - c.round - 1; ++x) {
            const bool edge = x < gapLeft || x >= gapRight;
            gap += edge ? 0 : 1;
            // The 2-pixel pen covers the rows just above and at ym.
            EXPECT_EQ(IsFrame(image.pixel(x, ym - 1)), edge) << "x = " << x;
            EXPECT_EQ(IsFrame(image.pixel(x, ym)), edge) << "x = " << x;
        }
        EXPECT_EQ(gap, 10 + w);
        // The other edges.
        EXPECT_TRUE(IsFrame(image.pixel(left, (ym + bottom) / 2)));
        EXPECT_TRUE(IsFrame(image.pixel(right - 1, (ym + bottom) / 2)));
        EXPECT_TRUE(IsFrame(image.pixel((left + right) / 2, bottom - 1)));
        EXPECT_FALSE(IsFrame(image.pixel((left + right) / 2, (ym + bottom) / 2)));
        if (c.round == 0) {
            // A plain rectangle: its corners are frame pixels.
            for (const QPoint corner : {QPoint(left, ym), QPoint(right - 1, ym), QPoint(left, bottom - 1),
                                        QPoint(right - 1, bottom - 1)})
                EXPECT_TRUE(IsFrame(image.pixel(corner))) << corner.x() << "," << corner.y();
        } else {
            // Rounded: the corner's own pixel stays empty.
            EXPECT_EQ(qAlpha(image.pixel(left, bottom - 1)), 0);
        }
    }
}

} // namespace
