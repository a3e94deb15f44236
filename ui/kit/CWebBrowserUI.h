#pragma once

#include "ui/kit/CControlUI.h"

class CWebBrowserEventHandler;

namespace kit {
class BrowserBridge;
}

// The embedded browser. The web view is created at the first Navigate2, so
// a window that never navigates pays nothing for it. Navigate2 takes
// "about:blank", http(s) and file URLs, and plain file paths. Host
// callbacks go to the handler set with SetWebBrowserEventHandler (see
// CWebBrowserEventHandler); the control does not own the handler.
class CWebBrowserUI : public CControlUI {
public:
    CWebBrowserUI();
    ~CWebBrowserUI() override;

    QString GetClass() const override;
    CControlUI* GetInterface(const QString& name) override;

    void SetWebBrowserEventHandler(CWebBrowserEventHandler* handler);
    CWebBrowserEventHandler* GetWebBrowserEventHandler() const { return m_pHandler; }
    void Navigate2(const QString& url);
    // Address of the latest navigation request, as a URL.
    QString GetUrl() const { return m_sUrl; }
    void Refresh();
    // True once the web view exists.
    bool HasBrowser() const;

    void SetAttribute(const QString& name, const QString& value) override;

protected:
    QWidget* CreateWidget() override;

private:
    friend class kit::BrowserBridge;
    void EnsureBrowser();

    CWebBrowserEventHandler* m_pHandler = nullptr;
    std::unique_ptr<kit::BrowserBridge> m_pBridge;
    QString m_sUrl;
    QString m_sHomePage;
};
