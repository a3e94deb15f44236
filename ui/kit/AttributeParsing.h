#pragma once

#include "ui/kit/KitDefs.h"

#include <QMargins>
#include <QRect>
#include <QSize>
#include <QString>

// Value syntax of layout attributes (see LAYOUT.md).
namespace kit {

// "#AARRGGBB", "#RRGGBB" (opaque), "0xAARRGGBB" or bare hex digits.
DWORD ParseColor(const QString& value);
bool ParseBool(const QString& value);
int ParseInt(const QString& value, int fallback = 0);
// "a,b"
QSize ParseSize(const QString& value);
// "l,t,r,b" as margins.
QMargins ParseMargins(const QString& value);
// "l,t,r,b" as a rectangle from (l,t) to (r,b).
QRect ParseRect(const QString& value);

} // namespace kit
