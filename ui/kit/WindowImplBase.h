#pragma once

#include "ui/kit/CNotifyPump.h"
#include "ui/kit/CPaintManagerUI.h"
#include "ui/kit/CWindowWnd.h"
#include "ui/kit/IDialogBuilderCallback.h"
#include "ui/kit/INotifyUI.h"

// A window built from an XML layout: on WM_CREATE it builds the layout
// SkinFile() (from the resource path set with
// CPaintManagerUI::SetResourcePath, or else from GetInstancePath() +
// SkinFolder()), with this object as the builder callback, then calls
// OnLayoutReady once with every control in place. Notifications arrive in
// Notify, which dispatches through the notification map; its base entry
// sends "click" to OnClick. WM_CLOSE goes to OnClose.
class WindowImplBase : public CWindowWnd, public CNotifyPump, public INotifyUI,
                       public IDialogBuilderCallback {
public:
    WindowImplBase();
    ~WindowImplBase() override;

    virtual QString WindowClassName() const;
    // Folder of the layout below the executable's folder, e.g. "skin/";
    // "skin\\" works as well.
    virtual QString SkinFolder();
    virtual QString SkinFile();
    virtual void OnLayoutReady();
    // Base: a button named "closebtn" closes the window (result IDOK).
    virtual void OnClick(TNotifyUI& msg);
    // Base: lets the window be destroyed (bHandled false, answer 0).
    virtual LRESULT OnClose(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);

    void Notify(TNotifyUI& msg) override;
    CControlUI* CreateControl(const QString& className) override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    QString GetWindowClassName() const override;

    CPaintManagerUI* GetPaintManager() { return &m_PaintManager; }
    CControlUI* FindControl(const QString& name) const { return m_PaintManager.FindControl(name); }

protected:
    // Builds the layout; 0 on success, -1 when the layout could not be read.
    virtual LRESULT OnCreate(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);

    CPaintManagerUI m_PaintManager;
};
