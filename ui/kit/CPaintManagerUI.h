#pragma once

#include "ui/kit/KitDefs.h"
#include "ui/kit/TNotifyUI.h"

#include <QFont>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <map>
#include <memory>
#include <vector>

class CControlUI;
class INotifyUI;

// A window's manager of controls: owns the control tree built from the
// layout, finds controls by name, holds the layout's fonts and window
// settings, caches images and delivers notifications to the window's
// notifiers. One per window (GUI thread), except that FindControl and the
// control setters meant for workers may be used from other threads.
class CPaintManagerUI {
public:
    CPaintManagerUI();
    ~CPaintManagerUI();
    CPaintManagerUI(const CPaintManagerUI&) = delete;
    CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;

    // Process-wide folders. The instance path is the executable's folder
    // (with a trailing '/'); SetInstance() with no argument takes it from
    // the application. The resource path is where layouts and images are
    // read; '\\' is accepted as a separator, a trailing '/' is added.
    static void SetInstance(const QString& instancePath = QString());
    static QString GetInstancePath();
    static void SetResourcePath(const QString& path);
    static QString GetResourcePath();

    // Binds the manager to its window: the window then lays out the root
    // control over its client area and uses the window settings below.
    void Init(HWND hWnd);
    HWND GetPaintWindow() const;

    // Makes `root` the control tree of the window (the manager owns it).
    bool AttachDialog(CControlUI* root);
    CControlUI* GetRoot() const { return m_pRoot; }
    // The control of that name, or null. Names are case-sensitive.
    CControlUI* FindControl(const QString& name) const;

    // Notifications.
    bool AddNotifier(INotifyUI* notifier);
    bool RemoveNotifier(INotifyUI* notifier);
    // Synchronous: every notifier's Notify runs now. Asynchronous: queued,
    // delivered after the caller (and its own handler) returned, dropped if
    // the sender or this manager is gone by then. Off the GUI thread it is
    // always queued. ptMouse is the last mouse position in the window.
    void SendNotify(CControlUI* sender, const QString& type, WPARAM wParam = 0, LPARAM lParam = 0,
                    bool async = false);
    void SendNotify(TNotifyUI& msg, bool async = false);

    // Fonts of the layout, by index; -1 or an unknown index gives the
    // default font.
    void AddFont(int index, const QFont& font, bool isDefault = false);
    QFont GetFont(int index) const;
    QFont GetDefaultFont() const;
    int GetFontCount() const { return static_cast<int>(m_fonts.size()); }
    DWORD GetDefaultFontColor() const { return m_dwDefaultFontColor; }
    void SetDefaultFontColor(DWORD color) { m_dwDefaultFontColor = color; }
    DWORD GetDefaultDisabledColor() const { return m_dwDefaultDisabledColor; }
    void SetDefaultDisabledColor(DWORD color) { m_dwDefaultDisabledColor = color; }

    // Window settings from the layout's <Window> element.
    QSize GetInitSize() const { return m_szInitSize; }
    void SetInitSize(int cx, int cy);
    QSize GetMinInfo() const { return m_szMinWindow; }
    void SetMinInfo(int cx, int cy);
    // Caption band: left and right are insets from the window's sides, top
    // and bottom are rows. Pressing the mouse there drags the window.
    QRect GetCaptionRect() const { return m_rcCaption; }
    void SetCaptionRect(const QRect& rc);
    QSize GetRoundCorner() const { return m_szRoundCorner; }
    void SetRoundCorner(int cx, int cy);
    DWORD GetWindowBkColor() const { return m_dwWindowBkColor; }
    void SetWindowBkColor(DWORD color);

    // Image of the resource folder (cached); a null image when missing.
    QImage GetImage(const QString& fileName);
    // Folder images and layouts of this window resolve in; defaults to the
    // resource path.
    QString GetResourceFolder() const;
    void SetResourceFolder(const QString& folder);

    // Last mouse position seen in the window, client coordinates.
    QPoint GetMousePos() const { return m_ptLastMousePos; }
    void SetMousePos(const QPoint& pt) { m_ptLastMousePos = pt; }

    // True while the control belongs to this manager.
    bool IsLiveControl(CControlUI* control) const { return m_liveControls.contains(control); }
    // Kit internals: controls register and leave by name.
    void RegisterControl(CControlUI* control);
    void UnregisterControl(CControlUI* control);
    // Resolves a path relative to the resource folder.
    QString ResolvePath(const QString& fileName) const;

private:
    QPointer<QObject> m_paintWindow;
    CControlUI* m_pRoot = nullptr;
    QHash<QString, CControlUI*> m_nameToControl;
    QSet<CControlUI*> m_liveControls;
    std::vector<INotifyUI*> m_notifiers;
    std::map<int, QFont> m_fonts;
    int m_iDefaultFont = -1;
    DWORD m_dwDefaultFontColor = 0xFF333333;
    DWORD m_dwDefaultDisabledColor = 0xFFA0A0A0;
    DWORD m_dwWindowBkColor = 0;
    QSize m_szInitSize;
    QSize m_szMinWindow;
    QRect m_rcCaption;
    QSize m_szRoundCorner;
    QHash<QString, QImage> m_images;
    QString m_sResourceFolder;
    QPoint m_ptLastMousePos;
    // Context of queued notifications: they die with the manager.
    QObject* m_pQueueContext = nullptr;
    // Cleared when the manager dies, so a notification loop can stop when a
    // notifier destroyed the window.
    std::shared_ptr<bool> m_pAlive;
};
