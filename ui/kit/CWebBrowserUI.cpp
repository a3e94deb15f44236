#include "ui/kit/CWebBrowserUI.h"

#include "ui/kit/BrowserBridge.h"
#include "ui/kit/ControlWidget.h"
#include "ui/kit/GuiThread.h"

CWebBrowserUI::CWebBrowserUI() = default;

CWebBrowserUI::~CWebBrowserUI()
{
    m_pHandler = nullptr;
    m_pBridge.reset();
}

QString CWebBrowserUI::GetClass() const
{
    return QStringLiteral("WebBrowserUI");
}

CControlUI* CWebBrowserUI::GetInterface(const QString& name)
{
    return name == QLatin1String("WebBrowser") ? this : CControlUI::GetInterface(name);
}

void CWebBrowserUI::SetWebBrowserEventHandler(CWebBrowserEventHandler* handler)
{
    m_pHandler = handler;
    if (m_pBridge)
        m_pBridge->ApplyHostInfo();
}

void CWebBrowserUI::Navigate2(const QString& url)
{
    if (PostToGuiThreadIfNeeded([this, url] { Navigate2(url); }))
        return;
    m_sUrl = url;
    EnsureBrowser();
    if (m_pBridge)
        m_pBridge->Navigate(url);
}

void CWebBrowserUI::Refresh()
{
    if (m_pBridge)
        m_pBridge->Reload();
}

bool CWebBrowserUI::HasBrowser() const
{
    return m_pBridge && m_pBridge->View();
}

void CWebBrowserUI::SetAttribute(const QString& name, const QString& value)
{
    if (name == QLatin1String("homepage"))
        m_sHomePage = value;
    else
        CControlUI::SetAttribute(name, value);
}

QWidget* CWebBrowserUI::CreateWidget()
{
    return new kit::ControlWidget(this);
}

void CWebBrowserUI::EnsureBrowser()
{
    if (m_pBridge)
        return;
    QWidget* container = GetWidget();
    if (!container)
        return;
    m_pBridge = std::make_unique<kit::BrowserBridge>(this, container);
}
