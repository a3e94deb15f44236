#include "app/CKestrinWnd.h"

void CKestrinWnd::StartExport()
{
}

int CKestrinWnd::RunExport()
{
    return 0;
}

void CKestrinWnd::StartImport()
{
}

int CKestrinWnd::RunImport()
{
    return 0;
}

bool CKestrinWnd::InvoiceExists(QString code, QString number)
{
    (void)code;
    (void)number;
    return false;
}

void CKestrinWnd::ShowImportResult(int code, int newInvoices, int duplicates)
{
    (void)code;
    (void)newInvoices;
    (void)duplicates;
}
