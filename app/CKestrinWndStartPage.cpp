#include "app/CKestrinWnd.h"

#include "app/CKestrinApp.h"
#include "app/GetModuleDirectory.h"
#include "platform/IcmpApi.h"
#include "platform/IcmpModule.h"
#include "store/CAdoConnection.h"
#include "store/Statements.h"
#include "store/engine/EngineError.h"
#include "ui/CCustomWebEventHandler.h"
#include "ui/kit/CControlUI.h"
#include "ui/kit/CWebBrowserUI.h"
#include "ui/kit/MessageBox.h"

#include <QByteArray>
#include <QIcon>

#include <arpa/inet.h>

#include <array>
#include <cstring>

namespace {

// The host whose echo answer tells that the network, and with it the remote
// start page, can be reached: a public DNS resolver that answers ICMP.
constexpr const char* kEchoTarget = "223.5.5.5";
// Replaces the fixed host, for offices whose network answers elsewhere.
constexpr const char* kEchoTargetVariable = "KESTRIN_ECHO_TARGET";

constexpr platform::WORD kEchoDataSize = 32;
constexpr unsigned char kEchoDataByte = 0x45; // 'E'
constexpr platform::UCHAR kEchoTtl = 128;
constexpr platform::DWORD kEchoTimeoutMs = 1000;

const QString kStartPageSuffix = QStringLiteral("?version=");
const QString kLocalStartPage = QStringLiteral("index.html");

// The ICMP functions, taken once per start from the loaded module.
platform::IcmpCreateFileFunc g_pfnIcmpCreateFile = nullptr;
platform::IcmpCloseHandleFunc g_pfnIcmpCloseHandle = nullptr;
platform::IcmpSendEchoFunc g_pfnIcmpSendEcho = nullptr;

// The echo target in network byte order; false for a text that is no
// dotted IPv4 address (inet_addr would turn it into the broadcast address).
bool EchoTargetAddress(platform::IPAddr& address)
{
    const QByteArray replaced = qgetenv(kEchoTargetVariable);
    const QByteArray target = replaced.trimmed().isEmpty() ? QByteArray(kEchoTarget) : replaced.trimmed();
    in_addr parsed{};
    if (inet_pton(AF_INET, target.constData(), &parsed) != 1)
        return false;
    address = parsed.s_addr;
    return true;
}

} // namespace

void CKestrinWnd::OnLayoutReady()
{
    const QIcon bigIcon(QStringLiteral(":/icons/icon_big.png"));
    const QIcon smallIcon(QStringLiteral(":/icons/icon_small.png"));
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(&bigIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(&smallIcon));

    if (CControlUI* title = FindControl(QStringLiteral("titleText")))
        title->SetText(QStringLiteral("Kestrin"));
    for (const char* name : {"controlDate", "startdate", "enddate"}) {
        if (CControlUI* date = FindControl(QLatin1String(name)))
            date->SetText(QString());
    }

    const QString address = GetStartPageUrl();
    // Without a stored address the suffix alone is no page: the local page
    // is shown then, and the echo request is not worth its second.
    const bool hasAddress = !address.trimmed().isEmpty();
    const QString startPage = address + kStartPageSuffix + g_strVersion;

    LoadIcmpFunctions();
    const bool reachable = hasAddress && CheckConnectivity();

    CControlUI* pane = FindControl(QStringLiteral("webBrowser"));
    auto* browser = pane != nullptr ? static_cast<CWebBrowserUI*>(pane->GetInterface(QStringLiteral("WebBrowser")))
                                    : nullptr;
    if (browser != nullptr) {
        m_pWebHandler = new CCustomWebEventHandler;
        browser->SetWebBrowserEventHandler(m_pWebHandler);
        browser->Navigate2(QStringLiteral("about:blank"));
        browser->Navigate2(reachable ? startPage : GetModuleDirectory() + kLocalStartPage);
    }

    // Keys typed into the window itself reach it as plain characters: kit
    // windows take part in no input method composition (only edit boxes and
    // the browser pane do), so there is no context to detach here.
}

QString CKestrinWnd::GetStartPageUrl()
{
    QString address;
    if (!m_connection.OpenRecordset(Statements::SelectConfig))
        return address;
    const std::shared_ptr<engine::Recordset> recordset = m_connection.GetRecordset();
    if (!recordset)
        return address;
    try {
        if (!recordset->IsEOF()) {
            const engine::Variant url = recordset->Collect(QStringLiteral("url"));
            if (!url.IsNull())
                address = url.ToText();
        }
    } catch (const engine::EngineError& error) {
        // The row could not be read: shown once, and the local page follows.
        kit::ShowMessageBox(error.Description());
        address.clear();
    }
    recordset->Close();
    return address;
}

bool CKestrinWnd::LoadIcmpFunctions()
{
    // Every lookup replaces what an earlier start found, so that functions
    // of a module that is gone by now are never called.
    g_pfnIcmpCreateFile = nullptr;
    g_pfnIcmpCloseHandle = nullptr;
    g_pfnIcmpSendEcho = nullptr;
    if (!platform::IcmpModule::Load("ICMP.DLL"))
        return false;
    g_pfnIcmpCreateFile = reinterpret_cast<platform::IcmpCreateFileFunc>(
        platform::IcmpModule::Resolve("IcmpCreateFile"));
    g_pfnIcmpCloseHandle = reinterpret_cast<platform::IcmpCloseHandleFunc>(
        platform::IcmpModule::Resolve("IcmpCloseHandle"));
    g_pfnIcmpSendEcho = reinterpret_cast<platform::IcmpSendEchoFunc>(
        platform::IcmpModule::Resolve("IcmpSendEcho"));
    return g_pfnIcmpCreateFile != nullptr && g_pfnIcmpCloseHandle != nullptr && g_pfnIcmpSendEcho != nullptr;
}

bool CKestrinWnd::CheckConnectivity()
{
    if (g_pfnIcmpCreateFile == nullptr || g_pfnIcmpCloseHandle == nullptr || g_pfnIcmpSendEcho == nullptr)
        return false;
    platform::IPAddr target = 0;
    if (!EchoTargetAddress(target))
        return false;

    const platform::HANDLE icmp = g_pfnIcmpCreateFile();
    if (icmp == platform::INVALID_HANDLE_VALUE || icmp == nullptr)
        return false;

    std::array<unsigned char, kEchoDataSize> data;
    data.fill(kEchoDataByte);
    platform::IP_OPTION_INFORMATION options{};
    options.Ttl = kEchoTtl;
    // Room for one reply and the echoed bytes, in this build's own layout.
    constexpr platform::DWORD kReplySize = platform::IcmpReplyBufferSize(kEchoDataSize);
    alignas(platform::ICMP_ECHO_REPLY) std::array<unsigned char, kReplySize> reply{};

    const platform::DWORD replies = g_pfnIcmpSendEcho(icmp, target, data.data(), kEchoDataSize, &options,
                                                      reply.data(), kReplySize, kEchoTimeoutMs);
    g_pfnIcmpCloseHandle(icmp);
    if (replies == 0)
        return false;
    platform::ICMP_ECHO_REPLY first{};
    std::memcpy(&first, reply.data(), sizeof first);
    return first.Status == platform::IP_SUCCESS;
}
