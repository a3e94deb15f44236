#pragma once

#include "ui/kit/KitDefs.h"

#include <Qt>

// Translation between Qt keys and the kit's VK codes.
namespace kit {

// 0 for keys without a VK code.
WPARAM VirtualKeyFromQtKey(int qtKey);
// Qt::Key for a VK code; 0 when there is none.
int QtKeyFromVirtualKey(WPARAM vk);

} // namespace kit
