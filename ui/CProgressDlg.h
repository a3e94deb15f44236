#pragma once

#include "ui/kit/WindowImplBase.h"

#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>

// 1 while the progress dialog of a running export or import is open: the
// starting operation sets it after creating the window, the dialog clears it
// when it closes. Workers read it before touching the dialog.
extern std::atomic<int32_t> g_bProgressOpen;

// The small modal window over the main window while an export or import
// runs on a worker thread: one line of text ("TextName" of Progress.xml)
// and a bar ("ProgressDown", 0 to 100). It does no work of its own. Enter
// and Space do nothing in it. Closing the window does not free the object.
//
// Workers use SetProgress and Close(1) only, both safe from any thread and
// both dropped once the window is gone; so a dialog that the clerk closed
// early is never touched again, whenever the worker notices.
class CProgressDlg : public WindowImplBase {
public:
    CProgressDlg();
    ~CProgressDlg() override;

    // Before Create: the text shown in "TextName".
    void SetMessage(const QString& text);
    // Moves the bar to `percent` (0 to 100). Any thread: the value is posted
    // to the window and applied on its thread, or dropped if it has closed.
    void SetProgress(int percent);

    QString WindowClassName() const override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnLayoutReady() override;
    void OnClick(TNotifyUI& msg) override;
    QString SkinFolder() override;
    QString SkinFile() override;
    LRESULT OnClose(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;

    // For tests: called on the window's thread with every value the bar of
    // any progress dialog is given; an empty function removes it.
    using BarObserver = std::function<void(int percent)>;
    static void SetBarObserver(BarObserver observer);

private:
    // Carries SetProgress's value (wParam) to the window's thread.
    static constexpr UINT kMsgSetProgress = WM_USER + 0x120;

    void ApplyProgress(int percent);

    QString m_strMessage;
};
