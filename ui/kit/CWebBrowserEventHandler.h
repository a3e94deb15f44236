#pragma once

#include "ui/kit/KitDefs.h"

#include <QPoint>
#include <QRect>
#include <QString>

class CWebBrowserUI;

// Host information a browser handler may adjust in GetHostInfo.
struct DOCHOSTUIINFO {
    UINT cbSize = 0;
    DWORD dwFlags = 0;
    DWORD dwDoubleClick = 0;
    const char16_t* pchHostCss = nullptr;
    const char16_t* pchHostNS = nullptr;
};

// Flags of DOCHOSTUIINFO::dwFlags that the browser control honours:
// SCROLL_NO hides the scroll bars, NO3DBORDER / NO3DOUTERBORDER drop the
// frame. The others are accepted and have no visible effect here.
inline constexpr DWORD DOCHOSTUIFLAG_DIALOG = 0x00000001;
inline constexpr DWORD DOCHOSTUIFLAG_DISABLE_HELP_MENU = 0x00000002;
inline constexpr DWORD DOCHOSTUIFLAG_NO3DBORDER = 0x00000004;
inline constexpr DWORD DOCHOSTUIFLAG_SCROLL_NO = 0x00000008;
inline constexpr DWORD DOCHOSTUIFLAG_THEME = 0x00040000;
inline constexpr DWORD DOCHOSTUIFLAG_NO3DOUTERBORDER = 0x00200000;
inline constexpr DWORD DOCHOSTUIDBLCLK_DEFAULT = 0;

// Receiver of an embedded browser's events and host questions. Every
// operation has a default here; a handler overrides what it needs. The
// browser control asks:
//   ShowContextMenu     before a context menu; S_OK: no menu is shown.
//   TranslateAccelerator before acting on an accelerator key (a key with
//                       Ctrl or Alt, or a function key); S_OK: the key is
//                       swallowed.
//   Download            on a download request; S_OK: refused.
//   GetHostInfo         once, when the browser is created: scroll bars and
//                       frame follow the flags.
// Calls arrive on the GUI thread. Detach a handler (SetWebBrowserEventHandler
// with null) before deleting it while the control lives.
class CWebBrowserEventHandler {
public:
    CWebBrowserEventHandler() = default;
    virtual ~CWebBrowserEventHandler() = default;

    // Events (slots 1-7).
    virtual void BeforeNavigate2(CWebBrowserUI* browser, const QString& url, bool& cancel);
    virtual void NavigateError(CWebBrowserUI* browser, const QString& url, int statusCode, bool& cancel);
    virtual void NavigateComplete2(CWebBrowserUI* browser, const QString& url);
    virtual void ProgressChange(int progress, int progressMax);
    virtual void TitleChange(CWebBrowserUI* browser, const QString& title);
    virtual void NewWindow3(CWebBrowserUI* browser, const QString& url, bool& cancel);
    virtual void CommandStateChange(int command, bool enable);

    // Host questions (slots 8-23).
    virtual HRESULT ShowContextMenu(DWORD id, const QPoint& screenPoint, void* commandTarget, void* object);
    virtual HRESULT GetHostInfo(DOCHOSTUIINFO* info);
    virtual HRESULT ShowUI(DWORD id, void* activeObject, void* commandTarget, void* frame, void* docWindow);
    virtual HRESULT HideUI();
    virtual HRESULT UpdateUI();
    virtual HRESULT EnableModeless(BOOL enable);
    virtual HRESULT OnDocWindowActivate(BOOL activate);
    virtual HRESULT OnFrameWindowActivate(BOOL activate);
    virtual HRESULT ResizeBorder(const QRect& border, void* uiWindow, BOOL frameWindow);
    // message WM_KEYDOWN, key a VK code, modifiers the Qt keyboard modifiers.
    virtual HRESULT TranslateAccelerator(UINT message, WPARAM key, LPARAM modifiers);
    virtual HRESULT GetOptionKeyPath(QString* keyPath, DWORD reserved);
    virtual HRESULT GetDropTarget(void* dropTarget, void** replacement);
    virtual HRESULT GetExternal(void** external);
    virtual HRESULT TranslateUrl(DWORD translate, const QString& url, QString* translated);
    virtual HRESULT FilterDataObject(void* object, void** replacement);
    virtual HRESULT Download(CWebBrowserUI* browser, const QString& url, const QString& mimeType,
                             const QString& suggestedFile, qint64 totalBytes, void* reserved1,
                             void* reserved2, DWORD flags);
};
