#include "app/CKestrinWnd.h"

#include "store/CAdoConnection.h"
#include "store/Statements.h"
#include "store/engine/EngineError.h"
#include "ui/kit/CListUI.h"
#include "ui/kit/MessageBox.h"

#include <QVariantList>

#include <string_view>

namespace {

const QString kReversedRange = QStringLiteral("日期有误，截止日期不能早于起始日期！");
const QString kNothingFound = QStringLiteral("未查询到符合条件的发票信息！");
const QString kInvoiceTypeName = QStringLiteral("增值税电子普通发票");

std::u16string_view CodeUnits(const QString& text)
{
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size())};
}

// Code unit by code unit: dates written yyyy-mm-dd order by time.
bool OrdinalGreater(const QString& left, const QString& right)
{
    return CodeUnits(left) > CodeUnits(right);
}

QString ColumnText(const engine::Recordset& recordset, const QString& column)
{
    const engine::Variant value = recordset.Collect(column);
    return value.IsNull() ? QString() : value.ToText();
}

} // namespace

bool CKestrinWnd::QueryInvoices()
{
    // The list mirrors the result it replaces: both go before the new rows
    // are read, so that a large new result reuses the memory the old one held
    // instead of growing the heap (which cost more than the query itself).
    m_mapQueryResult.clear();
    if (auto* list = dynamic_cast<CListUI*>(FindControl(QStringLiteral("listdata"))))
        list->RemoveAll();

    const CControlUI* startField = FindControl(QStringLiteral("startdate"));
    const CControlUI* endField = FindControl(QStringLiteral("enddate"));
    const QString start = startField != nullptr ? startField->GetText() : QString();
    const QString end = endField != nullptr ? endField->GetText() : QString();

    if (!start.isEmpty() && !end.isEmpty() && OrdinalGreater(start, end)) {
        Prompt(kReversedRange);
        return false;
    }

    QString statement = Statements::SelectRegisteredInvoices;
    QVariantList dates;
    if (!start.isEmpty()) {
        statement += Statements::AndInvoiceDateFrom;
        dates << start;
    }
    if (!end.isEmpty()) {
        statement += Statements::AndInvoiceDateTo;
        dates << end;
    }
    if (!m_connection.OpenRecordset(Statements::Format(statement, dates)))
        return false;

    const std::shared_ptr<engine::Recordset> recordset = m_connection.GetRecordset();
    if (!recordset)
        return false;

    // The connection reports errors of opening only; one raised while the
    // rows are read is shown here, and no partial result is kept.
    try {
        if (recordset->IsEOF()) {
            recordset->Close();
            Prompt(kNothingFound);
            return false;
        }

        const QString code = QStringLiteral("INV_CODE");
        const QString number = QStringLiteral("INV_NUMBER");
        const QString value = QStringLiteral("INV_VALUE");
        const QString date = QStringLiteral("INV_DATE");
        const QString opDate = QStringLiteral("INV_OPDATE");
        const QString backup = QStringLiteral("INV_BACKUP");
        const QString checkCode = QStringLiteral("INV_CHECKCODE");

        int32_t rowNumber = 0;
        for (; !recordset->IsEOF(); recordset->MoveNext()) {
            QueryRow row;
            row.Code = ColumnText(*recordset, code);
            row.Number = ColumnText(*recordset, number);
            row.Value = ColumnText(*recordset, value);
            row.Date = ColumnText(*recordset, date);
            row.OpDate = ColumnText(*recordset, opDate);
            row.Backup = ColumnText(*recordset, backup);
            row.CheckCode = ColumnText(*recordset, checkCode);
            row.TypeName = kInvoiceTypeName;
            m_mapQueryResult.emplace_hint(m_mapQueryResult.end(), rowNumber, std::move(row));
            ++rowNumber;
        }
        recordset->Close();
        return true;
    } catch (const engine::EngineError& error) {
        recordset->Close();
        m_mapQueryResult.clear();
        kit::ShowMessageBox(error.Description());
        return false;
    }
}

void CKestrinWnd::FillQueryList()
{
    auto* list = dynamic_cast<CListUI*>(FindControl(QStringLiteral("listdata")));
    if (list == nullptr)
        return;
    list->RemoveAll();
    for (const auto& [rowNumber, result] : m_mapQueryResult) {
        auto* row = new CListTextElementUI;
        list->Add(row);
        row->SetText(0, QString::number(rowNumber));
        row->SetText(1, result.Code);
        row->SetText(2, result.Number);
        row->SetText(3, result.Value);
        row->SetText(4, result.Date);
        row->SetText(5, result.OpDate);
        row->SetText(6, result.TypeName);
        row->SetText(7, result.Backup);
        row->SetText(8, result.CheckCode);
    }
}

void CKestrinWnd::ClearQuery()
{
    for (const char* name : {"startdate", "enddate"}) {
        if (CControlUI* field = FindControl(QLatin1String(name)))
            field->SetText(QString());
    }
    if (auto* list = dynamic_cast<CListUI*>(FindControl(QStringLiteral("listdata"))))
        list->RemoveAll();
}

void CKestrinWnd::DeleteSelectedInvoice()
{
    auto* list = dynamic_cast<CListUI*>(FindControl(QStringLiteral("listdata")));
    if (list == nullptr)
        return;
    const CListTextElementUI* selected = list->GetItemAt(list->GetCurSel());
    if (selected == nullptr)
        return;

    // Rebuilding the list deletes its rows: keep the selected row's texts.
    const int32_t rowNumber = selected->GetText(0).toInt();
    const QString shownCode = selected->GetText(1);
    const QString shownNumber = selected->GetText(2);

    // The list mirrors the result, so its entry is there; should it not be,
    // nothing is deleted rather than whatever matches an empty code.
    const auto entry = m_mapQueryResult.find(rowNumber);
    if (entry != m_mapQueryResult.end()) {
        const QString statement =
            Statements::Format(Statements::DeleteInvoice, {entry->second.Code, entry->second.Number});
        if (m_connection.Execute(statement)) {
            // Only the first listed entry goes, even when several rows shared
            // the code and number and the statement deleted them all.
            for (auto it = m_mapQueryResult.begin(); it != m_mapQueryResult.end(); ++it) {
                if (it->second.Code == shownCode && it->second.Number == shownNumber) {
                    m_mapQueryResult.erase(it);
                    break;
                }
            }
        }
    }
    FillQueryList();
}
