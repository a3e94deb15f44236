#include "app/CKestrinWnd.h"

#include "ui/kit/CControlUI.h"

void CKestrinWnd::OnLayoutReady()
{
    if (CControlUI* title = FindControl(QStringLiteral("titleText")))
        title->SetText(QStringLiteral("Kestrin"));
    for (const char* name : {"controlDate", "startdate", "enddate"}) {
        if (CControlUI* date = FindControl(QLatin1String(name)))
            date->SetText(QString());
    }
}

QString CKestrinWnd::GetStartPageUrl()
{
    return {};
}

bool CKestrinWnd::LoadIcmpFunctions()
{
    return false;
}

bool CKestrinWnd::CheckConnectivity()
{
    return false;
}
