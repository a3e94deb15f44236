#include "ui/kit/COptionUI.h"

#include "ui/kit/AttributeParsing.h"
#include "ui/kit/CContainerUI.h"
#include "ui/kit/CPaintManagerUI.h"
#include "ui/kit/CRenderEngine.h"

#include <QPainter>
#include <QPainterPath>

COptionUI::~COptionUI() = default;

QString COptionUI::GetClass() const
{
    return QStringLiteral("OptionUI");
}

CControlUI* COptionUI::GetInterface(const QString& name)
{
    return name == QLatin1String("Option") ? this : CButtonUI::GetInterface(name);
}

void COptionUI::SetGroup(const QString& group)
{
    m_sGroupName = group;
}

namespace {

// Every option of `group` in the window's control tree below `root`.
void CollectGroup(CControlUI* root, const QString& group, std::vector<COptionUI*>& out)
{
    if (!root)
        return;
    if (auto* option = dynamic_cast<COptionUI*>(root->GetInterface(QStringLiteral("Option"))))
        if (option->GetGroup() == group)
            out.push_back(option);
    if (auto* container = dynamic_cast<CContainerUI*>(root->GetInterface(QStringLiteral("Container"))))
        for (int i = 0; i < container->GetCount(); ++i)
            CollectGroup(container->GetItemAt(i), group, out);
}

} // namespace

void COptionUI::Selected(bool selected, bool triggerEvent)
{
    if (m_bSelected == selected)
        return;
    m_bSelected = selected;
    if (selected && !m_sGroupName.isEmpty() && m_pManager) {
        std::vector<COptionUI*> group;
        CollectGroup(m_pManager->GetRoot(), m_sGroupName, group);
        for (COptionUI* other : group)
            if (other != this)
                other->Selected(false, false);
    }
    Invalidate();
    // In a group only the newly selected option reports.
    if (triggerEvent && m_pManager && (selected || m_sGroupName.isEmpty()))
        m_pManager->SendNotify(this, QStringLiteral("selectchanged"));
}

bool COptionUI::Activate()
{
    if (!CButtonUI::Activate())
        return false;
    if (m_sGroupName.isEmpty())
        Selected(!m_bSelected);
    else
        Selected(true);
    return true;
}

void COptionUI::SetAttribute(const QString& name, const QString& value)
{
    if (name == QLatin1String("group"))
        SetGroup(value);
    else if (name == QLatin1String("selected"))
        Selected(kit::ParseBool(value), false);
    else if (name == QLatin1String("selectedbkcolor"))
        SetSelectedBkColor(kit::ParseColor(value));
    else if (name == QLatin1String("selectedtextcolor"))
        SetSelectedTextColor(kit::ParseColor(value));
    else if (name == QLatin1String("selectedimage"))
        SetSelectedImage(value);
    else
        CButtonUI::SetAttribute(name, value);
}

void COptionUI::SetManager(CPaintManagerUI* manager, CControlUI* parent)
{
    CButtonUI::SetManager(manager, parent);
}

void COptionUI::PaintBkColor(QPainter& painter)
{
    if (m_bSelected && m_dwSelectedBkColor) {
        QPainterPath path;
        if (m_szBorderRound.width() > 0 && m_szBorderRound.height() > 0)
            path.addRoundedRect(QRectF(m_rcItem), m_szBorderRound.width() / 2.0,
                                m_szBorderRound.height() / 2.0);
        else
            path.addRect(QRectF(m_rcItem));
        painter.fillPath(path, QColor::fromRgba(m_dwSelectedBkColor));
        return;
    }
    CButtonUI::PaintBkColor(painter);
}

void COptionUI::PaintStatusImage(QPainter& painter)
{
    if (m_bSelected && !m_sSelectedImage.isEmpty() && m_pManager) {
        CRenderEngine::DrawImage(painter, m_pManager, m_rcItem, m_sSelectedImage);
        return;
    }
    CButtonUI::PaintStatusImage(painter);
}

void COptionUI::PaintText(QPainter& painter)
{
    if (m_bSelected && m_dwSelectedTextColor && m_bEnabled) {
        DrawTextIn(painter, m_rcItem.marginsRemoved(m_rcTextPadding), m_dwSelectedTextColor);
        return;
    }
    CButtonUI::PaintText(painter);
}
