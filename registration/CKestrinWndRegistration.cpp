#include "app/CKestrinWnd.h"

#include "registration/ScanPayload.h"
#include "store/CAdoConnection.h"
#include "store/Statements.h"
#include "store/engine/EngineError.h"
#include "ui/kit/MessageBox.h"
#include "ui/kit/CLabelUI.h"

#include <QDate>

namespace {

constexpr DWORD kStateRed = 0xFFFF0000;
constexpr DWORD kStateGreen = 0xFF008000;

const QString kScanRejected = QStringLiteral("二维码格式有误，解析失败！");
const QString kAlreadyStored = QStringLiteral("发票已存在,入库日期【%1】");
const QString kStored = QStringLiteral("报销入库成功！");
const QString kStoreFailed = QStringLiteral("入库失败，请重新操作！");

// A date of one blank stands for an invoice without a date.
const QString kNoInvoiceDate = QStringLiteral(" ");

// Looks the invoice up by number and code. True when it is stored; its
// registration date is then in `invoice.OpDate` (empty when the row has none).
// A failed lookup has been shown by the connection and counts as not found.
bool FindStoredInvoice(CAdoConnection& connection, InvoiceRecord& invoice)
{
    const QString lookup =
        Statements::Format(Statements::SelectInvoiceByNumberAndCode, {invoice.Number, invoice.Code});
    if (!connection.OpenRecordset(lookup))
        return false;
    bool found = false;
    try {
        const auto recordset = connection.GetRecordset();
        if (recordset && !recordset->IsEOF()) {
            found = true;
            const engine::Variant opDate = recordset->Collect(QStringLiteral("INV_OPDATE"));
            if (!opDate.IsNull())
                invoice.OpDate = opDate.ToText();
        }
        if (recordset)
            recordset->Close();
    } catch (const engine::EngineError& error) {
        // Reading the found row failed; the insert still refuses a stored
        // invoice through the unique key.
        kit::ShowMessageBox(error.Description());
    }
    return found;
}

} // namespace

void CKestrinWnd::ClearInvoiceFields()
{
    m_invoice.Clear();
    m_strState.clear();
}

void CKestrinWnd::ClearForm()
{
    ClearInvoiceFields();
    for (const char* name :
         {"editCode", "editNumber", "editValue", "editCheck", "editBackup", "textState", "controlDate"}) {
        if (CControlUI* control = FindControl(QLatin1String(name)))
            control->SetText(QString());
    }
}

bool CKestrinWnd::ReadForm()
{
    ClearInvoiceFields();
    auto text = [this](const char* name) {
        const CControlUI* control = FindControl(QLatin1String(name));
        return control != nullptr ? control->GetText() : QString();
    };

    m_invoice.Code = text("editCode");
    if (m_invoice.Code.isEmpty() && !IsDigitalInvoiceNumber(text("editNumber"))) {
        ShowState(QStringLiteral("发票代码不能为空！"), kStateError);
        return false;
    }
    m_invoice.Number = text("editNumber");
    if (m_invoice.Number.isEmpty()) {
        ShowState(QStringLiteral("发票号码不能为空！"), kStateError);
        return false;
    }
    m_invoice.Value = text("editValue");
    if (m_invoice.Value.isEmpty()) {
        ShowState(QStringLiteral("发票金额不能为空！"), kStateError);
        return false;
    }
    m_invoice.CheckCode = text("editCheck");
    m_invoice.Backup = text("editBackup");
    m_invoice.Date = text("controlDate");
    if (m_invoice.Date.isEmpty()) {
        ShowState(QStringLiteral("开票日期不能为空！"), kStateError);
        return false;
    }
    return true;
}

void CKestrinWnd::FillForm()
{
    const std::pair<const char*, const QString*> fields[] = {
        {"editCode", &m_invoice.Code},       {"editNumber", &m_invoice.Number},
        {"editValue", &m_invoice.Value},     {"editCheck", &m_invoice.CheckCode},
        {"editBackup", &m_invoice.Backup},   {"controlDate", &m_invoice.Date},
    };
    for (const auto& [name, value] : fields) {
        if (CControlUI* control = FindControl(QLatin1String(name)))
            control->SetText(*value);
    }
}

void CKestrinWnd::ShowState(const QString& text, int kind)
{
    m_strState = text;
    auto* label = dynamic_cast<CLabelUI*>(FindControl(QStringLiteral("textState")));
    if (label == nullptr)
        return;
    label->SetTextColor(kind == kStateError ? kStateRed : kStateGreen);
    label->SetText(m_strState);
}

bool CKestrinWnd::ParseScan()
{
    ClearForm();
    InvoiceRecord scanned;
    if (!ParseScanPayload(m_strScanBuffer, scanned)) {
        // The buffer keeps its text: the next characters are appended to it.
        ShowState(kScanRejected, kStateError);
        return false;
    }
    ClearInvoiceFields();
    m_strScanBuffer.clear();
    m_invoice = scanned;
    return true;
}

void CKestrinWnd::Register(int autoScan)
{
    if (FindStoredInvoice(m_connection, m_invoice)) {
        ShowState(kAlreadyStored.arg(m_invoice.OpDate), kStateError);
        return;
    }

    bool alreadyStored = false;
    if (InsertInvoice(autoScan, &alreadyStored)) {
        ShowState(kStored, kStateSuccess);
    } else if (alreadyStored) {
        // Another desk stored it between the lookup and the insert: it is a
        // duplicate all the same, registered on that desk's date.
        FindStoredInvoice(m_connection, m_invoice);
        ShowState(kAlreadyStored.arg(m_invoice.OpDate), kStateError);
    } else {
        ShowState(kStoreFailed, kStateError);
    }
}

bool CKestrinWnd::InsertInvoice(int autoScan, bool* alreadyStored)
{
    const QString today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
    const InvoiceRecord& r = m_invoice;
    const QString statement =
        r.Date == kNoInvoiceDate
            ? Statements::Format(Statements::InsertInvoiceWithoutDate,
                                 {r.TopType, r.SubType, r.Code, r.Number, r.Value, r.CheckCode, r.CheckBit,
                                  today, autoScan, r.Backup})
            : Statements::Format(Statements::InsertInvoiceWithDate,
                                 {r.TopType, r.SubType, r.Code, r.Number, r.Value, r.Date, r.CheckCode,
                                  r.CheckBit, today, autoScan, r.Backup});
    if (alreadyStored == nullptr)
        return m_connection.Execute(statement);
    return m_connection.ExecuteInsert(statement, *alreadyStored);
}
