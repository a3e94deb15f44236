#pragma once

#include "ui/kit/WindowImplBase.h"

#include <QString>

// The program's prompt: a small modal window with up to two lines of text
// ("TextName", "TextName1" of the layout JsAlert.xml) and a confirm button
// ("ButtonConfirm"). Enter and Space do nothing in it; it closes on the
// confirm button (result 1) or the window base's close handling.
//
// Use: auto* dlg = new CJsAlertDlg; dlg->SetMessage(text, "");
//      dlg->Create(owner, "提示", UI_WNDSTYLE_DIALOG, 0); dlg->CenterWindow();
//      dlg->ShowModal();
// also from a worker thread (the window runs on the GUI thread while the
// worker waits). The object deletes itself when its window is gone
// (OnFinalMessage): never delete it, and do not touch it after ShowModal.
// Only if Create fails (returns null) does the object stay the caller's.
class CJsAlertDlg : public WindowImplBase {
public:
    CJsAlertDlg();
    ~CJsAlertDlg() override;

    // Before Create: the texts are placed into the labels once, when the
    // layout is ready.
    void SetMessage(QString first, QString second);

    QString WindowClassName() const override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnLayoutReady() override;
    void OnClick(TNotifyUI& msg) override;
    QString SkinFolder() override;
    QString SkinFile() override;
    LRESULT OnClose(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;
    void Notify(TNotifyUI& msg) override;
    void OnFinalMessage(HWND hWnd) override;

private:
    QString m_strFirst;
    QString m_strSecond;
};
