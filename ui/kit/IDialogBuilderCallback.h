#pragma once

#include <QString>

class CControlUI;

// Asked by CDialogBuilder for every layout tag the kit does not know. The
// builder owns what it gets back; null skips the element and its children.
class IDialogBuilderCallback {
public:
    virtual CControlUI* CreateControl(const QString& className) = 0;

protected:
    ~IDialogBuilderCallback() = default;
};
