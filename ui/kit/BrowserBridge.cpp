#include "ui/kit/BrowserBridge.h"

#include "ui/kit/CWebBrowserEventHandler.h"
#include "ui/kit/CWebBrowserUI.h"
#include "ui/kit/KitEventHub.h"
#include "ui/kit/VirtualKeys.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QVBoxLayout>
#include <QWebEngineDownloadRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <unistd.h>

namespace kit {
namespace {

// Page that reports navigation requests and new-window requests.
class BridgePage : public QWebEnginePage {
public:
    BridgePage(CWebBrowserUI* control, QObject* parent) : QWebEnginePage(parent), m_pControl(control) {}

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) override
    {
        CWebBrowserEventHandler* handler = m_pControl->GetWebBrowserEventHandler();
        if (!handler || !isMainFrame)
            return true;
        bool cancel = false;
        handler->BeforeNavigate2(m_pControl, url.toString(), cancel);
        return !cancel;
    }

    QWebEnginePage* createWindow(WebWindowType) override
    {
        // A page asking for a new window opens it in this pane.
        return this;
    }

private:
    CWebBrowserUI* m_pControl;
};

// View that asks the handler before showing its context menu.
class BridgeView : public QWebEngineView {
public:
    BridgeView(CWebBrowserUI* control, QWidget* parent) : QWebEngineView(parent), m_pControl(control) {}

protected:
    void contextMenuEvent(QContextMenuEvent* event) override
    {
        CWebBrowserEventHandler* handler = m_pControl->GetWebBrowserEventHandler();
        if (handler && handler->ShowContextMenu(0, event->globalPos(), nullptr, nullptr) == S_OK) {
            event->accept();
            return;
        }
        QWebEngineView::contextMenuEvent(event);
    }

private:
    CWebBrowserUI* m_pControl;
};

bool IsAccelerator(const QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods = event->modifiers();
    if (mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return true;
    const int key = event->key();
    return (key >= Qt::Key_F1 && key <= Qt::Key_F35) || key == Qt::Key_Back || key == Qt::Key_Forward
           || key == Qt::Key_Refresh || key == Qt::Key_Reload || key == Qt::Key_Print;
}

void PrepareWebEngineEnvironment()
{
    // The renderer sandbox cannot run as root.
    if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

} // namespace

BrowserBridge::BrowserBridge(CWebBrowserUI* control, QWidget* container) : m_pControl(control)
{
    PrepareWebEngineEnvironment();
    auto* view = new BridgeView(control, container);
    auto* page = new BridgePage(control, view);
    view->setPage(page);
    view->setContextMenuPolicy(Qt::DefaultContextMenu);
    KitEventHub::SetOwnsKeys(view);
    auto* layout = new QVBoxLayout(container);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
    m_pView = view;

    connect(page, &QWebEnginePage::loadProgress, this, [this](int progress) {
        if (auto* handler = m_pControl->GetWebBrowserEventHandler())
            handler->ProgressChange(progress, 100);
    });
    connect(page, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        CWebBrowserEventHandler* handler = m_pControl->GetWebBrowserEventHandler();
        if (!handler || !m_pView)
            return;
        const QString url = m_pView->url().toString();
        if (ok) {
            handler->NavigateComplete2(m_pControl, url);
        } else {
            bool cancel = false;
            handler->NavigateError(m_pControl, url, 0, cancel);
        }
    });
    connect(page, &QWebEnginePage::titleChanged, this, [this](const QString& title) {
        if (auto* handler = m_pControl->GetWebBrowserEventHandler())
            handler->TitleChange(m_pControl, title);
    });
    connect(page->profile(), &QWebEngineProfile::downloadRequested, this,
            &BrowserBridge::OnDownloadRequested);
    qApp->installEventFilter(this);
    ApplyHostInfo();
}

BrowserBridge::~BrowserBridge()
{
    if (qApp)
        qApp->removeEventFilter(this);
    delete m_pView.data();
}

void BrowserBridge::Navigate(const QString& address)
{
    if (!m_pView)
        return;
    QUrl url;
    const QString trimmed = address.trimmed();
    if (trimmed.startsWith(QLatin1Char('/')) || QFileInfo(trimmed).isAbsolute())
        url = QUrl::fromLocalFile(trimmed);
    else
        url = QUrl::fromUserInput(trimmed);
    m_pView->setUrl(url);
}

void BrowserBridge::Reload()
{
    if (m_pView)
        m_pView->reload();
}

void BrowserBridge::ApplyHostInfo()
{
    if (!m_pView)
        return;
    DOCHOSTUIINFO info;
    info.cbSize = sizeof(DOCHOSTUIINFO);
    bool applied = false;
    if (CWebBrowserEventHandler* handler = m_pControl->GetWebBrowserEventHandler())
        applied = handler->GetHostInfo(&info) == S_OK;
    const DWORD flags = applied ? info.dwFlags : 0;
    m_pView->settings()->setAttribute(QWebEngineSettings::ShowScrollBars,
                                      !(flags & DOCHOSTUIFLAG_SCROLL_NO));
    const bool noBorder = flags & (DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_NO3DOUTERBORDER);
    m_pView->setProperty("kitNoBorder", noBorder);
    if (QWidget* container = m_pView->parentWidget())
        if (auto* layout = container->layout())
            layout->setContentsMargins(noBorder ? QMargins() : QMargins(1, 1, 1, 1));
}

bool BrowserBridge::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride)
        return false;
    if (!m_pView || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (widget != m_pView && !m_pView->isAncestorOf(widget))
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (!IsAccelerator(key))
        return false;
    CWebBrowserEventHandler* handler = m_pControl->GetWebBrowserEventHandler();
    if (!handler)
        return false;
    const HRESULT answer = handler->TranslateAccelerator(
        WM_KEYDOWN, VirtualKeyFromQtKey(key->key()), static_cast<LPARAM>(key->modifiers().toInt()));
    if (answer != S_OK)
        return false;
    event->accept();
    return true;
}

void BrowserBridge::OnDownloadRequested(QWebEngineDownloadRequest* request)
{
    if (!m_pView || request->page() != m_pView->page())
        return;
    CWebBrowserEventHandler* handler = m_pControl->GetWebBrowserEventHandler();
    // Without a handler that wants it, nothing is downloaded.
    const HRESULT answer = handler ? handler->Download(m_pControl, request->url().toString(),
                                                       request->mimeType(), request->suggestedFileName(),
                                                       request->totalBytes(), nullptr, nullptr, 0)
                                   : S_OK;
    if (answer == S_OK)
        request->cancel();
    else
        request->accept();
}

} // namespace kit
