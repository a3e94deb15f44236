#pragma once

#include "ui/kit/CWebBrowserEventHandler.h"

// Host handler of the main window's start page pane: the pane behaves as a
// plain part of the window, without the browser's context menu, help menu,
// borders or scroll bars, and every accelerator key stops here instead of
// reaching the browser. The context menu, download and the remaining host
// answers are the base's: no menu, downloads refused.
//
// The browser control keeps a plain pointer to its handler: detach the
// handler (SetWebBrowserEventHandler(nullptr)) before deleting it.
class CCustomWebEventHandler : public CWebBrowserEventHandler {
public:
    // Host flags added to those already set: dialog, no help menu, no 3-D
    // border, no scroll bars, themed, no outer 3-D border.
    static constexpr DWORD kHostFlags = DOCHOSTUIFLAG_DIALOG | DOCHOSTUIFLAG_DISABLE_HELP_MENU
                                        | DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_SCROLL_NO
                                        | DOCHOSTUIFLAG_THEME | DOCHOSTUIFLAG_NO3DOUTERBORDER;
    // Size of the host information structure as the host interface counts it.
    static constexpr UINT kHostInfoSize = 20;

    HRESULT GetHostInfo(DOCHOSTUIINFO* info) override;
    HRESULT TranslateAccelerator(UINT message, WPARAM key, LPARAM modifiers) override;
    HRESULT GetDropTarget(void* dropTarget, void** replacement) override;
    HRESULT GetExternal(void** external) override;
};
