#pragma once

#include <QObject>
#include <QPointer>

class CWebBrowserUI;
class QWebEngineDownloadRequest;
#include <QWebEngineView>
class QWidget;

namespace kit {

// The web view of a CWebBrowserUI and the wiring of its events to the
// control's CWebBrowserEventHandler: navigation events, the context menu,
// accelerator keys, downloads and the host information.
class BrowserBridge : public QObject {
    Q_OBJECT
public:
    BrowserBridge(CWebBrowserUI* control, QWidget* container);
    ~BrowserBridge() override;

    QWebEngineView* View() const { return m_pView; }
    void Navigate(const QString& address);
    void Reload();
    // Asks the handler for the host information and applies it.
    void ApplyHostInfo();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnDownloadRequested(QWebEngineDownloadRequest* request);

    CWebBrowserUI* m_pControl;
    QPointer<QWebEngineView> m_pView;
};

} // namespace kit
