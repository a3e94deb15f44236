#pragma once

#include <QMargins>
#include <QString>

// An image description for CRenderEngine::DrawImage: a file name, or
// "file='menu_bk.png' corner='l,t,r,b'" where the corner values are the
// widths of the borders that are kept unscaled (nine-patch drawing).
struct tagTDrawInfo {
    tagTDrawInfo() = default;
    explicit tagTDrawInfo(const QString& drawString) : sDrawString(drawString) {}

    QString sDrawString;
    // Parsed from sDrawString on first use.
    QString sImageName;
    QMargins rcCorner;
    bool bParsed = false;
};
using TDrawInfo = tagTDrawInfo;
