#include "ui/kit/CWebBrowserEventHandler.h"

void CWebBrowserEventHandler::BeforeNavigate2(CWebBrowserUI*, const QString&, bool&) {}
void CWebBrowserEventHandler::NavigateError(CWebBrowserUI*, const QString&, int, bool&) {}
void CWebBrowserEventHandler::NavigateComplete2(CWebBrowserUI*, const QString&) {}
void CWebBrowserEventHandler::ProgressChange(int, int) {}
void CWebBrowserEventHandler::TitleChange(CWebBrowserUI*, const QString&) {}
void CWebBrowserEventHandler::NewWindow3(CWebBrowserUI*, const QString&, bool&) {}
void CWebBrowserEventHandler::CommandStateChange(int, bool) {}

HRESULT CWebBrowserEventHandler::ShowContextMenu(DWORD, const QPoint&, void*, void*)
{
    return S_OK;
}

HRESULT CWebBrowserEventHandler::GetHostInfo(DOCHOSTUIINFO*)
{
    return E_NOTIMPL;
}

HRESULT CWebBrowserEventHandler::ShowUI(DWORD, void*, void*, void*, void*)
{
    return S_FALSE;
}

HRESULT CWebBrowserEventHandler::HideUI()
{
    return S_OK;
}

HRESULT CWebBrowserEventHandler::UpdateUI()
{
    return S_OK;
}

HRESULT CWebBrowserEventHandler::EnableModeless(BOOL)
{
    return S_OK;
}

HRESULT CWebBrowserEventHandler::OnDocWindowActivate(BOOL)
{
    return S_OK;
}

HRESULT CWebBrowserEventHandler::OnFrameWindowActivate(BOOL)
{
    return S_OK;
}

HRESULT CWebBrowserEventHandler::ResizeBorder(const QRect&, void*, BOOL)
{
    return S_OK;
}

HRESULT CWebBrowserEventHandler::TranslateAccelerator(UINT, WPARAM, LPARAM)
{
    return S_FALSE;
}

HRESULT CWebBrowserEventHandler::GetOptionKeyPath(QString* keyPath, DWORD)
{
    if (keyPath)
        keyPath->clear();
    return S_OK;
}

HRESULT CWebBrowserEventHandler::GetDropTarget(void*, void** replacement)
{
    if (replacement)
        *replacement = nullptr;
    return E_NOTIMPL;
}

HRESULT CWebBrowserEventHandler::GetExternal(void** external)
{
    if (external)
        *external = nullptr;
    return E_NOTIMPL;
}

HRESULT CWebBrowserEventHandler::TranslateUrl(DWORD, const QString&, QString* translated)
{
    if (translated)
        translated->clear();
    return S_OK;
}

HRESULT CWebBrowserEventHandler::FilterDataObject(void*, void** replacement)
{
    if (replacement)
        *replacement = nullptr;
    return S_OK;
}

HRESULT CWebBrowserEventHandler::Download(CWebBrowserUI*, const QString&, const QString&, const QString&,
                                          qint64, void*, void*, DWORD)
{
    return S_OK;
}
