#include "ui/kit/CRenderEngine.h"

#include "ui/kit/AttributeParsing.h"
#include "ui/kit/CPaintManagerUI.h"

#include <QPainter>
#include <QRegularExpression>

bool CRenderEngine::ParseDrawInfo(TDrawInfo& drawInfo)
{
    drawInfo.bParsed = true;
    drawInfo.sImageName.clear();
    drawInfo.rcCorner = QMargins();
    const QString text = drawInfo.sDrawString.trimmed();
    if (text.isEmpty())
        return false;
    static const QRegularExpression pair(QStringLiteral("(\\w+)\\s*=\\s*'([^']*)'"));
    auto it = pair.globalMatch(text);
    bool any = false;
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        any = true;
        const QString key = match.captured(1);
        const QString value = match.captured(2);
        if (key == QLatin1String("file"))
            drawInfo.sImageName = value;
        else if (key == QLatin1String("corner"))
            drawInfo.rcCorner = kit::ParseMargins(value);
    }
    if (!any)
        drawInfo.sImageName = text;
    return !drawInfo.sImageName.isEmpty();
}

bool CRenderEngine::DrawImage(QPainter& painter, CPaintManagerUI* manager, const QRect& rcItem,
                              const QRect& rcPaint, TDrawInfo& drawInfo)
{
    if (!manager || rcItem.isEmpty())
        return false;
    if (!drawInfo.bParsed)
        ParseDrawInfo(drawInfo);
    if (drawInfo.sImageName.isEmpty())
        return false;
    const QImage image = manager->GetImage(drawInfo.sImageName);
    if (image.isNull())
        return false;

    painter.save();
    if (!rcPaint.isEmpty())
        painter.setClipRect(rcPaint, Qt::IntersectClip);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QMargins c = drawInfo.rcCorner;
    const int iw = image.width();
    const int ih = image.height();
    if (c.isNull() || c.left() + c.right() >= iw || c.top() + c.bottom() >= ih) {
        painter.drawImage(rcItem, image);
        painter.restore();
        return true;
    }
    // Nine parts: corners keep their size, edges stretch along, the middle
    // stretches both ways.
    const int xs[4] = {0, c.left(), iw - c.right(), iw};
    const int ys[4] = {0, c.top(), ih - c.bottom(), ih};
    const int xd[4] = {rcItem.left(), rcItem.left() + c.left(), rcItem.right() + 1 - c.right(),
                       rcItem.right() + 1};
    const int yd[4] = {rcItem.top(), rcItem.top() + c.top(), rcItem.bottom() + 1 - c.bottom(),
                       rcItem.bottom() + 1};
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            const QRect source(QPoint(xs[col], ys[row]), QPoint(xs[col + 1] - 1, ys[row + 1] - 1));
            const QRect target(QPoint(xd[col], yd[row]), QPoint(xd[col + 1] - 1, yd[row + 1] - 1));
            if (source.isEmpty() || target.isEmpty())
                continue;
            painter.drawImage(target, image, source);
        }
    }
    painter.restore();
    return true;
}

bool CRenderEngine::DrawImage(QPainter& painter, CPaintManagerUI* manager, const QRect& rcItem,
                              const QString& description)
{
    TDrawInfo info(description);
    return DrawImage(painter, manager, rcItem, rcItem, info);
}
