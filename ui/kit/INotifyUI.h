#pragma once

#include "ui/kit/TNotifyUI.h"

// Receiver of a window's notifications (CPaintManagerUI::AddNotifier).
class INotifyUI {
public:
    virtual void Notify(TNotifyUI& msg) = 0;

protected:
    ~INotifyUI() = default;
};
