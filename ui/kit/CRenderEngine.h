#pragma once

#include "ui/kit/TDrawInfo.h"

#include <QRect>
#include <QString>

class CPaintManagerUI;
class QPainter;

// Image drawing for skins.
class CRenderEngine {
public:
    // Draws the described image of the manager's resource folder over
    // rcItem (clipped to rcPaint), with its own alpha. Corner borders are
    // kept at their size, the middle parts stretch. False when the image
    // is missing (nothing is drawn).
    static bool DrawImage(QPainter& painter, CPaintManagerUI* manager, const QRect& rcItem,
                          const QRect& rcPaint, TDrawInfo& drawInfo);
    static bool DrawImage(QPainter& painter, CPaintManagerUI* manager, const QRect& rcItem,
                          const QString& description);
    // Splits a description into file name and corner margins.
    static bool ParseDrawInfo(TDrawInfo& drawInfo);
};
