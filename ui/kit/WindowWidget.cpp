#include "ui/kit/WindowWidget.h"

#include "ui/kit/CControlUI.h"
#include "ui/kit/CPaintManagerUI.h"
#include "ui/kit/CWindowWnd.h"
#include "ui/kit/KitEventHub.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>
#include <QWheelEvent>

namespace kit {
namespace {

quint64 g_nextSerial = 1;

QRegion RoundedRegion(const QRect& rc, const QSize& round)
{
    if (round.width() <= 0 || round.height() <= 0)
        return QRegion(rc);
    QPainterPath path;
    path.addRoundedRect(QRectF(rc), round.width() / 2.0, round.height() / 2.0);
    return QRegion(path.toFillPolygon().toPolygon());
}

} // namespace

WindowWidget::WindowWidget(CWindowWnd* owner, QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags), m_nSerial(g_nextSerial++), m_pOwner(owner)
{
    KitEventHub::Install();
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_KeyCompression, false);
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

WindowWidget::~WindowWidget()
{
    StopAllTimers();
    if (m_pManager)
        m_pManager = nullptr;
    // Deleted with its owner window rather than closed: the window object
    // still hears of its end.
    if (CWindowWnd* owner = m_pOwner) {
        owner->HandleMessage(WM_DESTROY, 0, 0);
        m_pOwner = nullptr;
        owner->OnWidgetGone(this);
    }
}

WindowWidget* WindowWidget::OwnerWindow() const
{
    return qobject_cast<WindowWidget*>(parentWidget());
}

LRESULT WindowWidget::Send(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (!m_pOwner)
        return 0;
    return m_pOwner->HandleMessage(uMsg, wParam, lParam);
}

bool WindowWidget::SendKey(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    const bool outer = m_bKeyDefault;
    m_bKeyDefault = false;
    QPointer<WindowWidget> self(this);
    Send(uMsg, wParam, lParam);
    if (!self)
        return false;
    const bool reachedDefault = m_bKeyDefault;
    m_bKeyDefault = outer;
    return reachedDefault;
}

void WindowWidget::SetPaintManager(CPaintManagerUI* manager)
{
    m_pManager = manager;
    LayoutRoot();
    UpdateWindowMask();
    update();
}

void WindowWidget::LayoutRoot()
{
    if (!m_pManager)
        return;
    if (CControlUI* root = m_pManager->GetRoot())
        root->SetPos(rect());
}

void WindowWidget::SetLayered(bool layered)
{
    m_bLayered = layered;
    setAttribute(Qt::WA_TranslucentBackground, layered);
    setAttribute(Qt::WA_NoSystemBackground, layered);
}

void WindowWidget::SetLayeredImage(const QImage& image)
{
    m_layeredImage = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (!image.isNull() && image.size() != size())
        resize(image.size());
    update();
}

void WindowWidget::SetUserRegion(const QRegion& region)
{
    m_userRegion = region;
    UpdateWindowMask();
}

void WindowWidget::UpdateWindowMask()
{
    const QSize round = m_pManager ? m_pManager->GetRoundCorner() : QSize();
    const bool rounded = round.width() > 0 && round.height() > 0;
    if (m_userRegion.isEmpty() && !rounded) {
        clearMask();
        return;
    }
    QRegion region = rounded ? RoundedRegion(rect(), round) : QRegion(rect());
    if (!m_userRegion.isEmpty())
        region &= m_userRegion;
    setMask(region);
}

void WindowWidget::AddIcon(const QIcon& icon)
{
    QIcon merged = m_icon;
    for (const QSize& size : icon.availableSizes())
        merged.addPixmap(icon.pixmap(size));
    if (icon.availableSizes().isEmpty())
        merged = icon;
    m_icon = merged;
    setWindowIcon(m_icon);
}

void WindowWidget::BlockInput(bool block)
{
    m_nInputBlocks += block ? 1 : -1;
    if (m_nInputBlocks < 0)
        m_nInputBlocks = 0;
}

bool WindowWidget::StartTimer(UINT id, UINT elapseMs)
{
    QTimer*& timer = m_timers[id];
    if (!timer) {
        timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this, id] { Send(WM_TIMER, id, 0); });
    }
    timer->start(static_cast<int>(elapseMs));
    return true;
}

bool WindowWidget::StopTimer(UINT id)
{
    auto it = m_timers.find(id);
    if (it == m_timers.end())
        return false;
    it->second->stop();
    it->second->deleteLater();
    m_timers.erase(it);
    return true;
}

void WindowWidget::StopAllTimers()
{
    for (auto& [id, timer] : m_timers) {
        timer->stop();
        timer->deleteLater();
    }
    m_timers.clear();
}

bool WindowWidget::event(QEvent* event)
{
    if (event->type() == QEvent::WindowDeactivate && m_bDragging)
        m_bDragging = false;
    return QWidget::event(event);
}

void WindowWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (m_bLayered) {
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(rect(), Qt::transparent);
        if (!m_layeredImage.isNull())
            painter.drawImage(0, 0, m_layeredImage);
        return;
    }
    const DWORD bk = m_pManager ? m_pManager->GetWindowBkColor() : 0;
    painter.fillRect(rect(), bk ? QColor::fromRgba(bk) : palette().color(QPalette::Window));
}

void WindowWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayoutRoot();
    UpdateWindowMask();
    if (!isMinimized())
        Send(WM_SIZE, SIZE_RESTORED, MAKELPARAM(width(), height()));
}

void WindowWidget::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    const QPoint origin = mapToGlobal(QPoint(0, 0));
    Send(WM_MOVE, 0, MAKELPARAM(origin.x(), origin.y()));
}

void WindowWidget::closeEvent(QCloseEvent* event)
{
    // The window object decides: its default WM_CLOSE handling destroys
    // the window; the Qt close itself never does.
    event->ignore();
    if (m_pOwner)
        m_pOwner->SendMessage(WM_CLOSE, 0, 0);
}

void WindowWidget::wheelEvent(QWheelEvent* event)
{
    const QPoint global = event->globalPosition().toPoint();
    const int delta = event->angleDelta().y();
    Send(WM_MOUSEWHEEL, static_cast<WPARAM>(MAKELPARAM(0, delta)),
         MAKELPARAM(global.x(), global.y()));
    event->accept();
}

bool WindowWidget::InCaption(const QPoint& pt) const
{
    if (!m_pManager)
        return false;
    const QRect caption = m_pManager->GetCaptionRect();
    if (caption.isNull())
        return false;
    return pt.x() >= caption.left() && pt.x() < width() - caption.right() && pt.y() >= caption.top()
           && pt.y() < caption.bottom();
}

void WindowWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && InCaption(event->position().toPoint())) {
        m_bDragging = true;
        m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void WindowWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (m_bDragging && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - m_dragOffset);
        event->accept();
        return;
    }
    QWidget::mouseMoveEvent(event);
}

void WindowWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_bDragging && event->button() == Qt::LeftButton) {
        m_bDragging = false;
        event->accept();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

void WindowWidget::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMinimized())
        Send(WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(width(), height()));
}

} // namespace kit
