#include "app/CKestrinWnd.h"

bool CKestrinWnd::QueryInvoices()
{
    return false;
}

void CKestrinWnd::FillQueryList()
{
}

void CKestrinWnd::ClearQuery()
{
}

void CKestrinWnd::DeleteSelectedInvoice()
{
}
