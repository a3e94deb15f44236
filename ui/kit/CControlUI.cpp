#include "ui/kit/CControlUI.h"

#include "ui/kit/AttributeParsing.h"
#include "ui/kit/CPaintManagerUI.h"
#include "ui/kit/CRenderEngine.h"
#include "ui/kit/ControlWidget.h"
#include "ui/kit/GuiThread.h"

#include <QPainter>
#include <QPainterPath>
#include <QWidget>

CControlUI::CControlUI() : m_pAlive(std::make_shared<CControlUI*>(this)) {}

CControlUI::~CControlUI()
{
    *m_pAlive = nullptr;
    if (m_pManager)
        m_pManager->UnregisterControl(this);
    if (QWidget* widget = m_pWidget.data()) {
        m_pWidget.clear();
        if (kit::IsGuiThread())
            delete widget;
        else
            QMetaObject::invokeMethod(widget, "deleteLater", Qt::QueuedConnection);
    }
}

QString CControlUI::GetClass() const
{
    return QStringLiteral("ControlUI");
}

CControlUI* CControlUI::GetInterface(const QString& name)
{
    return name == QLatin1String("Control") ? this : nullptr;
}

void CControlUI::SetName(const QString& name)
{
    if (name == m_sName)
        return;
    if (m_pManager)
        m_pManager->UnregisterControl(this);
    m_sName = name;
    if (m_pManager)
        m_pManager->RegisterControl(this);
}

QString CControlUI::GetText() const
{
    return m_sText;
}

void CControlUI::SetText(const QString& text)
{
    if (PostToGuiThreadIfNeeded([this, text] { SetText(text); }))
        return;
    if (m_sText == text)
        return;
    m_sText = text;
    OnTextChanged();
}

void CControlUI::OnTextChanged()
{
    Invalidate();
}

void CControlUI::SetToolTip(const QString& text)
{
    m_sToolTip = text;
    if (QWidget* widget = PeekWidget())
        widget->setToolTip(text);
}

void CControlUI::SetPos(const QRect& rc)
{
    m_rcItem = rc;
    if (QWidget* widget = PeekWidget()) {
        const QPoint origin = m_pParent ? m_pParent->GetPos().topLeft() : QPoint(0, 0);
        widget->setGeometry(rc.translated(-origin));
        widget->update();
    }
}

void CControlUI::SetVisible(bool visible)
{
    if (m_bVisible == visible)
        return;
    m_bVisible = visible;
    QWidget* widget = PeekWidget();
    if (widget && widget->parentWidget())
        widget->setVisible(visible);
    // The parent's layout changes with a child's visibility.
    if (m_pParent)
        m_pParent->SetPos(m_pParent->GetPos());
}

void CControlUI::SetEnabled(bool enabled)
{
    m_bEnabled = enabled;
    if (QWidget* widget = PeekWidget())
        widget->setEnabled(enabled);
    Invalidate();
}

void CControlUI::Invalidate()
{
    if (!kit::IsGuiThread()) {
        PostToGuiThreadIfNeeded([this] { Invalidate(); });
        return;
    }
    if (QWidget* widget = PeekWidget())
        widget->update();
}

void CControlUI::SetBkColor(DWORD color)
{
    m_dwBkColor = color;
    Invalidate();
}

void CControlUI::SetBorderColor(DWORD color)
{
    m_dwBorderColor = color;
    Invalidate();
}

void CControlUI::SetBorderSize(int size)
{
    m_nBorderSize = size;
    Invalidate();
}

void CControlUI::SetBorderRound(const QSize& cxcy)
{
    m_szBorderRound = cxcy;
    Invalidate();
}

void CControlUI::SetBkImage(const QString& image)
{
    m_sBkImage = image;
    Invalidate();
}

void CControlUI::SetFixedWidth(int cx)
{
    m_cxyFixed.setWidth(cx < 0 ? 0 : cx);
    if (m_pParent)
        m_pParent->SetPos(m_pParent->GetPos());
}

void CControlUI::SetFixedHeight(int cy)
{
    m_cxyFixed.setHeight(cy < 0 ? 0 : cy);
    if (m_pParent)
        m_pParent->SetPos(m_pParent->GetPos());
}

void CControlUI::SetPadding(const QMargins& padding)
{
    m_rcPadding = padding;
}

void CControlUI::SetFloat(bool isFloat)
{
    m_bFloat = isFloat;
}

void CControlUI::SetFloatPos(const QRect& rc)
{
    m_rcFloat = rc;
    m_bFloat = true;
}

void CControlUI::SetAttribute(const QString& name, const QString& value)
{
    if (name == QLatin1String("name"))
        SetName(value);
    else if (name == QLatin1String("text"))
        SetText(value);
    else if (name == QLatin1String("tooltip"))
        SetToolTip(value);
    else if (name == QLatin1String("width"))
        SetFixedWidth(kit::ParseInt(value));
    else if (name == QLatin1String("height"))
        SetFixedHeight(kit::ParseInt(value));
    else if (name == QLatin1String("padding"))
        SetPadding(kit::ParseMargins(value));
    else if (name == QLatin1String("float"))
        SetFloat(kit::ParseBool(value));
    else if (name == QLatin1String("pos"))
        SetFloatPos(kit::ParseRect(value));
    else if (name == QLatin1String("bkcolor"))
        SetBkColor(kit::ParseColor(value));
    else if (name == QLatin1String("bordercolor"))
        SetBorderColor(kit::ParseColor(value));
    else if (name == QLatin1String("bordersize"))
        SetBorderSize(kit::ParseInt(value));
    else if (name == QLatin1String("borderround"))
        SetBorderRound(kit::ParseSize(value));
    else if (name == QLatin1String("bkimage"))
        SetBkImage(value);
    else if (name == QLatin1String("visible"))
        SetVisible(kit::ParseBool(value));
    else if (name == QLatin1String("enabled"))
        SetEnabled(kit::ParseBool(value));
}

void CControlUI::DoPaint(QPainter& painter)
{
    PaintBkColor(painter);
    PaintBkImage(painter);
    PaintStatusImage(painter);
    PaintText(painter);
    PaintBorder(painter);
}

namespace {

QPainterPath RoundedPath(const QRectF& rc, const QSize& round)
{
    QPainterPath path;
    if (round.width() > 0 && round.height() > 0)
        path.addRoundedRect(rc, round.width() / 2.0, round.height() / 2.0);
    else
        path.addRect(rc);
    return path;
}

} // namespace

void CControlUI::PaintBkColor(QPainter& painter)
{
    if (m_dwBkColor == 0)
        return;
    painter.fillPath(RoundedPath(QRectF(m_rcItem), m_szBorderRound), QColor::fromRgba(m_dwBkColor));
}

void CControlUI::PaintBkImage(QPainter& painter)
{
    if (m_sBkImage.isEmpty() || !m_pManager)
        return;
    CRenderEngine::DrawImage(painter, m_pManager, m_rcItem, m_sBkImage);
}

void CControlUI::PaintStatusImage(QPainter&) {}

void CControlUI::PaintText(QPainter&) {}

void CControlUI::PaintBorder(QPainter& painter)
{
    if (m_nBorderSize <= 0 || m_dwBorderColor == 0)
        return;
    const qreal half = m_nBorderSize / 2.0;
    QPen pen(QColor::fromRgba(GetAdjustColor(m_dwBorderColor)), m_nBorderSize);
    painter.save();
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(RoundedPath(QRectF(m_rcItem).adjusted(half, half, -half, -half), m_szBorderRound));
    painter.restore();
}

QWidget* CControlUI::GetWidget()
{
    if (QWidget* widget = m_pWidget.data())
        return widget;
    if (!kit::IsGuiThread())
        return nullptr;
    QWidget* widget = CreateWidget();
    m_pWidget = widget;
    ApplyStateToWidget(widget);
    return widget;
}

QWidget* CControlUI::PeekWidget() const
{
    return m_pWidget.data();
}

void CControlUI::SetManager(CPaintManagerUI* manager, CControlUI* parent)
{
    if (m_pManager && m_pManager != manager)
        m_pManager->UnregisterControl(this);
    m_pParent = parent;
    m_pManager = manager;
    if (m_pManager)
        m_pManager->RegisterControl(this);
}

QWidget* CControlUI::CreateWidget()
{
    return new kit::ControlWidget(this);
}

void CControlUI::ApplyStateToWidget(QWidget* widget)
{
    widget->setToolTip(m_sToolTip);
    widget->setEnabled(m_bEnabled);
    // Shown or hidden when it joins its parent widget; showing a widget
    // without a parent would open a window.
}

bool CControlUI::PostToGuiThreadIfNeeded(std::function<void()> fn)
{
    if (kit::IsGuiThread())
        return false;
    kit::PostToGuiThread([alive = m_pAlive, fn = std::move(fn)] {
        if (*alive)
            fn();
    });
    return true;
}
