#include "ui/kit/CListUI.h"

#include "ui/kit/AttributeParsing.h"
#include "ui/kit/CPaintManagerUI.h"
#include "ui/kit/ListModel.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>
#include <QTimer>

namespace {

QString Css(DWORD color)
{
    const QColor c = QColor::fromRgba(color);
    return QStringLiteral("rgba(%1,%2,%3,%4)").arg(c.red()).arg(c.green()).arg(c.blue()).arg(c.alpha());
}

DWORD Or(DWORD value, DWORD fallback)
{
    return value ? value : fallback;
}

} // namespace

CListUI::CListUI() : m_pModel(std::make_unique<kit::ListModel>(this)) {}

CListUI::~CListUI()
{
    if (QWidget* widget = PeekWidget())
        if (auto* view = qobject_cast<QTableView*>(widget))
            view->setModel(nullptr);
}

QString CListUI::GetClass() const
{
    return QStringLiteral("ListUI");
}

CControlUI* CListUI::GetInterface(const QString& name)
{
    return name == QLatin1String("List") ? this : CControlUI::GetInterface(name);
}

bool CListUI::Add(CListTextElementUI* row)
{
    if (!row)
        return false;
    if (row->m_pOwner) {
        if (row->m_pOwner != this)
            return false;
        return true;
    }
    row->m_pOwner = this;
    row->m_iIndex = GetCount();
    // Rows are filled column by column after they are added: one allocation
    // for their texts instead of one per column.
    row->m_texts.reserve(GetColumnCount());
    m_rows.emplace_back(row);
    ScheduleFlush();
    return true;
}

void CListUI::RemoveAll()
{
    m_bSyncingSelection = true;
    m_iCurSel = -1;
    m_pModel->Reset([this] { m_rows.clear(); });
    m_bSyncingSelection = false;
}

CListTextElementUI* CListUI::GetItemAt(int index) const
{
    if (index < 0 || index >= GetCount())
        return nullptr;
    return m_rows[static_cast<size_t>(index)].get();
}

bool CListUI::SelectItem(int index, bool takeFocus)
{
    if (index < -1 || index >= GetCount())
        return false;
    FlushPendingRows();
    const int old = m_iCurSel;
    if (auto* view = qobject_cast<QTableView*>(PeekWidget())) {
        m_bSyncingSelection = true;
        if (index < 0) {
            view->selectionModel()->clear();
        } else {
            const QModelIndex target = m_pModel->index(index, 0);
            view->selectionModel()->setCurrentIndex(
                target, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            view->scrollTo(target);
        }
        m_bSyncingSelection = false;
        if (takeFocus)
            view->setFocus(Qt::OtherFocusReason);
    }
    m_iCurSel = index;
    if (old != index && m_pManager)
        m_pManager->SendNotify(this, QStringLiteral("itemselect"), static_cast<WPARAM>(index),
                               static_cast<LPARAM>(old));
    return true;
}

void CListUI::AddColumn(const QString& text, int width)
{
    m_columnTexts.append(text);
    m_columnWidths.push_back(width);
    m_pModel->ColumnsChanged();
    if (QWidget* widget = PeekWidget())
        ApplyStateToWidget(widget);
}

QString CListUI::GetColumnText(int column) const
{
    return m_columnTexts.value(column);
}

int CListUI::GetColumnWidth(int column) const
{
    if (column < 0 || column >= GetColumnCount())
        return 0;
    return m_columnWidths[static_cast<size_t>(column)];
}

void CListUI::SetAttribute(const QString& name, const QString& value)
{
    if (name == QLatin1String("itemtextcolor"))
        m_dwItemTextColor = kit::ParseColor(value);
    else if (name == QLatin1String("itembkcolor"))
        m_dwItemBkColor = kit::ParseColor(value);
    else if (name == QLatin1String("itemaltbkcolor"))
        m_dwItemAltBkColor = kit::ParseColor(value);
    else if (name == QLatin1String("itemselectedbkcolor"))
        m_dwSelectedBkColor = kit::ParseColor(value);
    else if (name == QLatin1String("itemselectedtextcolor"))
        m_dwSelectedTextColor = kit::ParseColor(value);
    else if (name == QLatin1String("itemhotbkcolor"))
        m_dwHotBkColor = kit::ParseColor(value);
    else if (name == QLatin1String("headerbkcolor"))
        m_dwHeaderBkColor = kit::ParseColor(value);
    else if (name == QLatin1String("headertextcolor"))
        m_dwHeaderTextColor = kit::ParseColor(value);
    else if (name == QLatin1String("itemlinecolor"))
        m_dwLineColor = kit::ParseColor(value);
    else if (name == QLatin1String("itemfont"))
        m_iItemFont = kit::ParseInt(value, -1);
    else if (name == QLatin1String("headerfont"))
        m_iHeaderFont = kit::ParseInt(value, -1);
    else if (name == QLatin1String("itemheight"))
        m_nItemHeight = kit::ParseInt(value, 28);
    else if (name == QLatin1String("headerheight"))
        m_nHeaderHeight = kit::ParseInt(value, 30);
    else if (name == QLatin1String("itemalign"))
        m_sItemAlign = value;
    else
        CControlUI::SetAttribute(name, value);
    if (QWidget* widget = PeekWidget())
        ApplyStateToWidget(widget);
}

void CListUI::OnRowTextChanged(CListTextElementUI* row, int column)
{
    m_pModel->RowChanged(row->m_iIndex, column);
}

void CListUI::OnViewSelectionChanged(int index)
{
    if (m_bSyncingSelection || index == m_iCurSel)
        return;
    const int old = m_iCurSel;
    m_iCurSel = index;
    if (m_pManager)
        m_pManager->SendNotify(this, QStringLiteral("itemselect"), static_cast<WPARAM>(index),
                               static_cast<LPARAM>(old));
}

void CListUI::OnViewRowClicked(int index)
{
    if (m_pManager && index >= 0)
        m_pManager->SendNotify(this, QStringLiteral("itemclick"), static_cast<WPARAM>(index));
}

void CListUI::FlushPendingRows()
{
    m_bFlushScheduled = false;
    m_pModel->Announce(GetCount());
}

void CListUI::ScheduleFlush()
{
    if (m_bFlushScheduled)
        return;
    m_bFlushScheduled = true;
    QTimer::singleShot(0, m_pModel.get(), [this] {
        if (m_bFlushScheduled)
            FlushPendingRows();
    });
}

QWidget* CListUI::CreateWidget()
{
    auto* view = new QTableView;
    view->setModel(m_pModel.get());
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setShowGrid(false);
    view->setWordWrap(false);
    view->setAlternatingRowColors(true);
    view->setFocusPolicy(Qt::StrongFocus);
    view->setFrameShape(QFrame::NoFrame);
    view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    view->horizontalHeader()->setHighlightSections(false);
    view->horizontalHeader()->setStretchLastSection(true);
    QObject::connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, view,
                     [this](const QModelIndex& current) {
                         OnViewSelectionChanged(current.isValid() ? current.row() : -1);
                     });
    QObject::connect(view, &QAbstractItemView::clicked, view,
                     [this](const QModelIndex& index) { OnViewRowClicked(index.row()); });
    return view;
}

void CListUI::ApplyStateToWidget(QWidget* widget)
{
    CControlUI::ApplyStateToWidget(widget);
    auto* view = static_cast<QTableView*>(widget);
    view->verticalHeader()->setDefaultSectionSize(m_nItemHeight);
    view->horizontalHeader()->setFixedHeight(m_nHeaderHeight);
    for (int i = 0; i < GetColumnCount(); ++i)
        if (GetColumnWidth(i) > 0)
            view->setColumnWidth(i, GetColumnWidth(i));
    if (m_pManager) {
        view->setFont(m_pManager->GetFont(m_iItemFont));
        view->horizontalHeader()->setFont(m_pManager->GetFont(m_iHeaderFont));
    }
    const DWORD text = Or(m_dwItemTextColor, m_pManager ? m_pManager->GetDefaultFontColor() : 0xFF333333);
    const QString css = QStringLiteral(
        "QTableView { background: %1; alternate-background-color: %2; color: %3;"
        " selection-background-color: %4; selection-color: %5; border: %9px solid %10;"
        " border-radius: 0px; outline: 0; }"
        "QTableView::item { border-bottom: 1px solid %6; padding: 0 4px; }"
        "QTableView::item:hover { background: %7; }"
        "QTableView::item:selected { background: %4; color: %5; }"
        "QHeaderView::section { background: %8; color: %11; border: none;"
        " border-bottom: 1px solid %6; border-right: 1px solid %6; padding: 0 4px; }")
        .arg(Css(Or(m_dwItemBkColor, 0xFFFFFFFF)), Css(Or(m_dwItemAltBkColor, 0xFFF7F9FC)), Css(text),
             Css(Or(m_dwSelectedBkColor, 0xFFDCE9FB)), Css(Or(m_dwSelectedTextColor, text)),
             Css(Or(m_dwLineColor, 0xFFEDF0F4)), Css(Or(m_dwHotBkColor, 0xFFEEF4FD)),
             Css(Or(m_dwHeaderBkColor, 0xFFF0F3F7)))
        .arg(m_nBorderSize)
        .arg(Css(Or(m_dwBorderColor, 0x00000000)), Css(Or(m_dwHeaderTextColor, text)));
    view->setStyleSheet(css);
    m_pModel->Announce(GetCount());
    m_bFlushScheduled = false;
}
