#include "ui/kit/CPaintManagerUI.h"
#include "ui/kit/CRenderEngine.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A 60 x 20 source whose nine parts can be told apart: columns 0-39 red,
// 40-51 green, 52-59 blue; rows 0-7 at alpha 128, 8-11 opaque, 12-19 at
// alpha 64. With corner='40,8,8,8' every border is a part of one colour.
class DrawImageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        QImage source(60, 20, QImage::Format_ARGB32);
        for (int y = 0; y < source.height(); ++y) {
            const int alpha = y < 8 ? 128 : (y < 12 ? 255 : 64);
            for (int x = 0; x < source.width(); ++x) {
                const QColor color = x < 40 ? QColor(255, 0, 0) : (x < 52 ? QColor(0, 255, 0) : QColor(0, 0, 255));
                source.setPixel(x, y, qRgba(color.red(), color.green(), color.blue(), alpha));
            }
        }
        ASSERT_TRUE(source.save(m_folder.filePath(QStringLiteral("parts.png"))));
        m_manager.SetResourceFolder(m_folder.path());
    }

    QImage Draw(const QString& description, const QSize& size, bool* drawn = nullptr)
    {
        QImage target(size, QImage::Format_ARGB32_Premultiplied);
        target.fill(Qt::transparent);
        {
            QPainter painter(&target);
            TDrawInfo info(description);
            const QRect rc(QPoint(0, 0), size);
            const bool result = CRenderEngine::DrawImage(painter, &m_manager, rc, rc, info);
            if (drawn != nullptr)
                *drawn = result;
        }
        return target.convertToFormat(QImage::Format_ARGB32);
    }

    QTemporaryDir m_folder;
    CPaintManagerUI m_manager;
};

// The colour of a pixel as the source's part colour, or '?' when blended.
char PartAt(const QImage& image, int x, int y)
{
    const QRgb p = image.pixel(x, y);
    if (qRed(p) > 240 && qGreen(p) < 15 && qBlue(p) < 15)
        return 'r';
    if (qGreen(p) > 240 && qRed(p) < 15 && qBlue(p) < 15)
        return 'g';
    if (qBlue(p) > 240 && qRed(p) < 15 && qGreen(p) < 15)
        return 'b';
    return '?';
}

TEST_F(DrawImageTest, KeepsTheCornerBordersAtTheirSizeAndStretchesTheMiddle)
{
    bool drawn = false;
    const QImage image = Draw(QStringLiteral("file='parts.png' corner='40,8,8,8'"), QSize(200, 100), &drawn);
    ASSERT_TRUE(drawn);
    // Left border 40 wide, right border 8 wide, whatever the target size.
    for (int y : {3, 50, 96}) {
        EXPECT_EQ(PartAt(image, 0, y), 'r');
        EXPECT_EQ(PartAt(image, 38, y), 'r');
        EXPECT_EQ(PartAt(image, 42, y), 'g');
        EXPECT_EQ(PartAt(image, 189, y), 'g');
        EXPECT_EQ(PartAt(image, 193, y), 'b');
        EXPECT_EQ(PartAt(image, 199, y), 'b');
    }
    // Top and bottom borders 8 high with the image's own alpha.
    for (int x : {5, 100, 196}) {
        EXPECT_NEAR(qAlpha(image.pixel(x, 0)), 128, 2);
        EXPECT_NEAR(qAlpha(image.pixel(x, 6)), 128, 2);
        EXPECT_EQ(qAlpha(image.pixel(x, 10)), 255);
        EXPECT_EQ(qAlpha(image.pixel(x, 89)), 255);
        EXPECT_NEAR(qAlpha(image.pixel(x, 93)), 64, 2);
        EXPECT_NEAR(qAlpha(image.pixel(x, 99)), 64, 2);
    }
}

TEST_F(DrawImageTest, APlainFileNameStretchesTheWholeImage)
{
    const QImage image = Draw(QStringLiteral("parts.png"), QSize(120, 40));
    EXPECT_EQ(PartAt(image, 70, 20), 'r') << "the red part now reaches past x = 40";
    EXPECT_EQ(PartAt(image, 119, 20), 'b');
}

TEST_F(DrawImageTest, AMissingImageDrawsNothing)
{
    bool drawn = true;
    const QImage image = Draw(QStringLiteral("file='missing.png' corner='40,8,8,8'"), QSize(80, 40), &drawn);
    EXPECT_FALSE(drawn);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ASSERT_EQ(image.pixel(x, y), 0u);
}

} // namespace
