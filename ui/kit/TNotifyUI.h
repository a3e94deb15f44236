#pragma once

#include "ui/kit/KitDefs.h"

#include <QPoint>
#include <QString>

class CControlUI;

// One notification of a control to its window: what happened (sType, e.g.
// "click"), who sent it, and where the mouse was, in the window's client
// coordinates, when it was sent.
struct TNotifyUI {
    QString sType;
    CControlUI* pSender = nullptr;
    QPoint ptMouse;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};
