#include "ui/CCustomWebEventHandler.h"

static_assert(CCustomWebEventHandler::kHostFlags == 0x0024000F);

HRESULT CCustomWebEventHandler::GetHostInfo(DOCHOSTUIINFO* info)
{
    if (info == nullptr)
        return S_OK;
    info->dwFlags |= kHostFlags;
    info->cbSize = kHostInfoSize;
    info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
    return S_OK;
}

HRESULT CCustomWebEventHandler::TranslateAccelerator(UINT, WPARAM, LPARAM)
{
    // Handled here: the browser performs no accelerator of its own (no
    // reload, print, find or navigation keys inside the pane).
    return S_OK;
}

HRESULT CCustomWebEventHandler::GetDropTarget(void*, void** replacement)
{
    if (replacement != nullptr)
        *replacement = nullptr;
    return S_OK;
}

HRESULT CCustomWebEventHandler::GetExternal(void** external)
{
    if (external != nullptr)
        *external = nullptr;
    return S_OK;
}
