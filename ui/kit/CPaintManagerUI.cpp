#include "ui/kit/CPaintManagerUI.h"

#include "ui/kit/CControlUI.h"
#include "ui/kit/GuiThread.h"
#include "ui/kit/INotifyUI.h"
#include "ui/kit/WindowWidget.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMetaObject>
#include <QThread>

#include <algorithm>
#include <mutex>

namespace {

std::mutex g_pathMutex;
QString g_instancePath;
QString g_resourcePath;

QString NormalizeFolder(const QString& path)
{
    if (path.isEmpty())
        return path;
    QString folder = path;
    folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

const char* kDefaultFontFamily = "WenQuanYi Micro Hei";

} // namespace

CPaintManagerUI::CPaintManagerUI() : m_pQueueContext(new QObject), m_pAlive(std::make_shared<bool>(true))
{
    // Queued notifications run on the GUI thread even when the window
    // object was made on another thread.
    if (auto* app = QCoreApplication::instance(); app && !kit::IsGuiThread())
        m_pQueueContext->moveToThread(app->thread());
}

CPaintManagerUI::~CPaintManagerUI()
{
    *m_pAlive = false;
    if (auto* window = qobject_cast<kit::WindowWidget*>(m_paintWindow.data()))
        if (window->PaintManager() == this)
            window->SetPaintManager(nullptr);
    CControlUI* root = m_pRoot;
    m_pRoot = nullptr;
    delete root;
    m_nameToControl.clear();
    m_liveControls.clear();
    if (kit::IsGuiThread())
        delete m_pQueueContext;
    else
        QMetaObject::invokeMethod(m_pQueueContext, "deleteLater", Qt::QueuedConnection);
}

void CPaintManagerUI::SetInstance(const QString& instancePath)
{
    std::lock_guard lock(g_pathMutex);
    g_instancePath = NormalizeFolder(instancePath.isEmpty() ? QCoreApplication::applicationDirPath()
                                                            : instancePath);
}

QString CPaintManagerUI::GetInstancePath()
{
    std::lock_guard lock(g_pathMutex);
    if (g_instancePath.isEmpty() && QCoreApplication::instance())
        g_instancePath = NormalizeFolder(QCoreApplication::applicationDirPath());
    return g_instancePath;
}

void CPaintManagerUI::SetResourcePath(const QString& path)
{
    std::lock_guard lock(g_pathMutex);
    g_resourcePath = NormalizeFolder(path);
}

QString CPaintManagerUI::GetResourcePath()
{
    std::lock_guard lock(g_pathMutex);
    return g_resourcePath;
}

void CPaintManagerUI::Init(HWND hWnd)
{
    m_paintWindow = hWnd;
    if (hWnd)
        hWnd->SetPaintManager(this);
}

HWND CPaintManagerUI::GetPaintWindow() const
{
    return qobject_cast<kit::WindowWidget*>(m_paintWindow.data());
}

bool CPaintManagerUI::AttachDialog(CControlUI* root)
{
    if (!root)
        return false;
    if (m_pRoot && m_pRoot != root) {
        CControlUI* old = m_pRoot;
        m_pRoot = nullptr;
        delete old;
    }
    m_pRoot = root;
    root->SetManager(this, nullptr);
    if (kit::WindowWidget* window = GetPaintWindow()) {
        QWidget* widget = root->GetWidget();
        widget->setParent(window);
        widget->setVisible(root->IsVisible());
        window->LayoutRoot();
        window->UpdateWindowMask();
    }
    return true;
}

CControlUI* CPaintManagerUI::FindControl(const QString& name) const
{
    return m_nameToControl.value(name, nullptr);
}

bool CPaintManagerUI::AddNotifier(INotifyUI* notifier)
{
    if (!notifier || std::find(m_notifiers.begin(), m_notifiers.end(), notifier) != m_notifiers.end())
        return false;
    m_notifiers.push_back(notifier);
    return true;
}

bool CPaintManagerUI::RemoveNotifier(INotifyUI* notifier)
{
    auto it = std::find(m_notifiers.begin(), m_notifiers.end(), notifier);
    if (it == m_notifiers.end())
        return false;
    m_notifiers.erase(it);
    return true;
}

void CPaintManagerUI::SendNotify(CControlUI* sender, const QString& type, WPARAM wParam, LPARAM lParam,
                                 bool async)
{
    TNotifyUI msg;
    msg.sType = type;
    msg.pSender = sender;
    msg.wParam = wParam;
    msg.lParam = lParam;
    SendNotify(msg, async);
}

void CPaintManagerUI::SendNotify(TNotifyUI& msg, bool async)
{
    if (async || !kit::IsGuiThread()) {
        TNotifyUI queued = msg;
        QMetaObject::invokeMethod(
            m_pQueueContext,
            [this, alive = m_pAlive, queued]() mutable {
                if (!*alive)
                    return;
                if (queued.pSender && !IsLiveControl(queued.pSender))
                    return;
                SendNotify(queued, false);
            },
            Qt::QueuedConnection);
        return;
    }
    msg.ptMouse = m_ptLastMousePos;
    const std::shared_ptr<bool> alive = m_pAlive;
    const std::vector<INotifyUI*> notifiers = m_notifiers;
    for (INotifyUI* notifier : notifiers) {
        // A notifier may have destroyed the window, or another notifier.
        if (!*alive)
            return;
        if (std::find(m_notifiers.begin(), m_notifiers.end(), notifier) == m_notifiers.end())
            continue;
        notifier->Notify(msg);
    }
}

void CPaintManagerUI::AddFont(int index, const QFont& font, bool isDefault)
{
    m_fonts[index] = font;
    if (isDefault)
        m_iDefaultFont = index;
}

QFont CPaintManagerUI::GetFont(int index) const
{
    auto it = m_fonts.find(index);
    if (it != m_fonts.end())
        return it->second;
    return GetDefaultFont();
}

QFont CPaintManagerUI::GetDefaultFont() const
{
    auto it = m_fonts.find(m_iDefaultFont);
    if (it != m_fonts.end())
        return it->second;
    QFont font(QString::fromLatin1(kDefaultFontFamily));
    font.setPixelSize(13);
    return font;
}

void CPaintManagerUI::SetInitSize(int cx, int cy)
{
    m_szInitSize = QSize(cx, cy);
    kit::WindowWidget* window = GetPaintWindow();
    if (window && window->m_bDefaultSize && cx > 0 && cy > 0)
        window->resize(cx, cy);
}

void CPaintManagerUI::SetMinInfo(int cx, int cy)
{
    m_szMinWindow = QSize(cx, cy);
    if (kit::WindowWidget* window = GetPaintWindow())
        window->setMinimumSize(m_szMinWindow);
}

void CPaintManagerUI::SetCaptionRect(const QRect& rc)
{
    m_rcCaption = rc;
}

void CPaintManagerUI::SetRoundCorner(int cx, int cy)
{
    m_szRoundCorner = QSize(cx, cy);
    if (kit::WindowWidget* window = GetPaintWindow())
        window->UpdateWindowMask();
}

void CPaintManagerUI::SetWindowBkColor(DWORD color)
{
    m_dwWindowBkColor = color;
    if (kit::WindowWidget* window = GetPaintWindow())
        window->update();
}

QImage CPaintManagerUI::GetImage(const QString& fileName)
{
    const QString path = ResolvePath(fileName);
    auto it = m_images.constFind(path);
    if (it != m_images.constEnd())
        return *it;
    QImage image(path);
    if (!image.isNull())
        image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    m_images.insert(path, image);
    return image;
}

QString CPaintManagerUI::GetResourceFolder() const
{
    return m_sResourceFolder.isEmpty() ? GetResourcePath() : m_sResourceFolder;
}

void CPaintManagerUI::SetResourceFolder(const QString& folder)
{
    m_sResourceFolder = NormalizeFolder(folder);
}

void CPaintManagerUI::RegisterControl(CControlUI* control)
{
    m_liveControls.insert(control);
    const QString name = control->GetName();
    if (!name.isEmpty() && !m_nameToControl.contains(name))
        m_nameToControl.insert(name, control);
}

void CPaintManagerUI::UnregisterControl(CControlUI* control)
{
    m_liveControls.remove(control);
    const QString name = control->GetName();
    auto it = m_nameToControl.find(name);
    if (it != m_nameToControl.end() && it.value() == control)
        m_nameToControl.erase(it);
}

QString CPaintManagerUI::ResolvePath(const QString& fileName) const
{
    QString file = fileName;
    file.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (QFileInfo(file).isAbsolute())
        return file;
    QString folder = GetResourceFolder();
    if (folder.isEmpty())
        folder = GetInstancePath();
    return folder + file;
}
