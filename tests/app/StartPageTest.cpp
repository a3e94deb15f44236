#include "app/GetModuleDirectory.h"
#include "platform/IcmpApi.h"
#include "platform/IcmpModule.h"
#include "tests/app/LoopbackHttpServer.h"
#include "tests/support/MainWindowFixture.h"
#include "ui/CCustomWebEventHandler.h"
#include "ui/kit/CWebBrowserUI.h"
#include "ui/kit/KitTestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QIcon>
#include <QInputMethodQueryEvent>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <arpa/inet.h>
#include <unistd.h>

#include <cstring>
#include <ostream>
#include <vector>

// Every echo request and page request of these tests stays on 127.0.0.1;
// the fixture points the echo target there before any window exists.

namespace {

using kit::test::WaitUntil;
using platform::DWORD;
using platform::HANDLE;
using platform::IcmpModule;
using platform::IPAddr;
using platform::WORD;

constexpr int kPageTimeoutMs = 20000;

// An ICMP function table whose echo answers as a test wants, recording
// what the program asked for. The functions are plain ones, as looked up
// by name at run time, so their state lives here.
struct FakeIcmp {
    static inline bool createFails = false;
    static inline DWORD replies = 1;
    static inline platform::ULONG status = platform::IP_SUCCESS;

    static inline int sends = 0;
    static inline int closes = 0;
    static inline IPAddr address = 0;
    static inline std::vector<unsigned char> data;
    static inline int ttl = -1;
    static inline DWORD replySize = 0;
    static inline DWORD timeout = 0;

    static void Reset()
    {
        createFails = false;
        replies = 1;
        status = platform::IP_SUCCESS;
        sends = closes = 0;
        address = 0;
        data.clear();
        ttl = -1;
        replySize = timeout = 0;
    }

    static HANDLE Create()
    {
        static int handle;
        return createFails ? platform::INVALID_HANDLE_VALUE : &handle;
    }

    static platform::BOOL Close(HANDLE)
    {
        ++closes;
        return 1;
    }

    static DWORD Send(HANDLE, IPAddr destination, void* request, WORD requestSize,
                      platform::PIP_OPTION_INFORMATION options, void* reply, DWORD size, DWORD waitMs)
    {
        ++sends;
        address = destination;
        const auto* bytes = static_cast<const unsigned char*>(request);
        data.assign(bytes, bytes + requestSize);
        ttl = options != nullptr ? options->Ttl : -1;
        replySize = size;
        timeout = waitMs;
        platform::ICMP_ECHO_REPLY answer{};
        answer.Address = destination;
        answer.Status = status;
        std::memcpy(reply, &answer, sizeof answer);
        return replies;
    }

    static void Install()
    {
        IcmpModule::ReplaceForTesting(
            true, {{"IcmpCreateFile", reinterpret_cast<platform::FARPROC>(&Create)},
                   {"IcmpCloseHandle", reinterpret_cast<platform::FARPROC>(&Close)},
                   {"IcmpSendEcho", reinterpret_cast<platform::FARPROC>(&Send)}});
    }
};

class StartPageTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        // The browser's sandbox cannot run as root.
        if (::geteuid() == 0)
            qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        m_createWindowInSetUp = false;
        MainWindowFixture::SetUp();
        ASSERT_TRUE(m_server.IsListening());
        FakeIcmp::Reset();
    }

    void TearDown() override
    {
        MainWindowFixture::TearDown();
        IcmpModule::RestoreForTesting();
        qputenv("KESTRIN_ECHO_TARGET", "127.0.0.1");
    }

    void StoreAddress(const QString& address)
    {
        Database().Run(QStringLiteral("update config set url = '%1' where id = 1").arg(address));
    }

    CWebBrowserUI* Browser() const
    {
        CControlUI* pane = Control(QStringLiteral("webBrowser"));
        return pane != nullptr ? static_cast<CWebBrowserUI*>(pane->GetInterface(QStringLiteral("WebBrowser")))
                               : nullptr;
    }

    QString BrowserUrl() const
    {
        const CWebBrowserUI* browser = Browser();
        return browser != nullptr ? browser->GetUrl() : QString();
    }

    static QString LocalPage() { return GetModuleDirectory() + QStringLiteral("index.html"); }

    LoopbackHttpServer m_server;
};

// --- The remote page, with the real echo to 127.0.0.1 -------------------

class RemoteStartPageTest : public StartPageTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(RemoteStartPageTest, IsRequestedWithTheVersionAppended)
{
    const QString stored = m_server.Url(QLatin1String(GetParam()));
    StoreAddress(stored);
    CreateWindow();

    const QString expected = stored + QStringLiteral("?version=1.1");
    EXPECT_EQ(BrowserUrl(), expected);
    const QString requestLine =
        QStringLiteral("GET %1?version=1.1 HTTP/1.1").arg(QLatin1String(GetParam()));
    EXPECT_TRUE(WaitUntil([&] { return m_server.HasRequest(requestLine); }, kPageTimeoutMs))
        << m_server.RequestLines().join(QLatin1Char('\n')).toStdString();
}

// An address that already carries a query string still gets the suffix as it is.
INSTANTIATE_TEST_SUITE_P(Addresses, RemoteStartPageTest,
                         ::testing::Values("/start", "/kestrin/news.html", "/start?desk=2"));

// --- An unreachable target ----------------------------------------------

struct UnreachableCase {
    const char* name;
    bool moduleAvailable;
    bool createFails;
    DWORD replies;
    platform::ULONG status;
};

[[maybe_unused]] void PrintTo(const UnreachableCase& c, std::ostream* os)
{
    *os << c.name;
}

class UnreachableTargetTest : public StartPageTest, public ::testing::WithParamInterface<UnreachableCase> {};

TEST_P(UnreachableTargetTest, ShowsTheLocalPage)
{
    const UnreachableCase& param = GetParam();
    if (param.moduleAvailable) {
        FakeIcmp::Install();
        FakeIcmp::createFails = param.createFails;
        FakeIcmp::replies = param.replies;
        FakeIcmp::status = param.status;
    } else {
        IcmpModule::ReplaceForTesting(false, {});
    }
    StoreAddress(m_server.Url(QStringLiteral("/start")));
    CreateWindow();

    EXPECT_EQ(BrowserUrl(), LocalPage());
    // A failed handle is never closed; an opened one always is.
    if (param.moduleAvailable && !param.createFails)
        EXPECT_EQ(FakeIcmp::closes, 1);
    else
        EXPECT_EQ(FakeIcmp::closes, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, UnreachableTargetTest,
    ::testing::Values(UnreachableCase{"NoIcmpModule", false, false, 0, 0},
                      UnreachableCase{"NoHandle", true, true, 0, 0},
                      UnreachableCase{"NoReplyInTime", true, false, 0, platform::IP_REQ_TIMED_OUT},
                      UnreachableCase{"HostUnreachable", true, false, 1, platform::IP_DEST_HOST_UNREACHABLE}),
    [](const ::testing::TestParamInfo<UnreachableCase>& info) { return info.param.name; });

TEST_F(StartPageTest, AModuleWithoutAllThreeFunctionsCountsAsUnreachable)
{
    IcmpModule::ReplaceForTesting(
        true, {{"IcmpCreateFile", reinterpret_cast<platform::FARPROC>(&FakeIcmp::Create)},
               {"IcmpSendEcho", reinterpret_cast<platform::FARPROC>(&FakeIcmp::Send)}});
    StoreAddress(m_server.Url(QStringLiteral("/start")));
    CreateWindow();

    EXPECT_EQ(BrowserUrl(), LocalPage());
    EXPECT_EQ(FakeIcmp::sends, 0);
}

// --- The echo request itself ---------------------------------------------

TEST_F(StartPageTest, SendsOneEchoOf32BytesWithTtl128AndOneSecondToTheTarget)
{
    FakeIcmp::Install();
    StoreAddress(m_server.Url(QStringLiteral("/start")));
    CreateWindow();

    EXPECT_EQ(FakeIcmp::sends, 1);
    EXPECT_EQ(FakeIcmp::address, inet_addr("127.0.0.1"));
    EXPECT_EQ(FakeIcmp::data, std::vector<unsigned char>(32, 0x45));
    EXPECT_EQ(FakeIcmp::ttl, 128);
    EXPECT_EQ(FakeIcmp::timeout, 1000u);
    EXPECT_EQ(FakeIcmp::replySize, platform::IcmpReplyBufferSize(32));
    EXPECT_EQ(FakeIcmp::closes, 1);
    EXPECT_EQ(BrowserUrl(), m_server.Url(QStringLiteral("/start?version=1.1")));
}

TEST_F(StartPageTest, TheEnvironmentReplacesTheEchoTarget)
{
    // The fake sends nothing; the address only has to reach it.
    qputenv("KESTRIN_ECHO_TARGET", "127.0.0.2");
    FakeIcmp::Install();
    StoreAddress(m_server.Url(QStringLiteral("/start")));
    CreateWindow();

    EXPECT_EQ(FakeIcmp::sends, 1);
    EXPECT_EQ(FakeIcmp::address, inet_addr("127.0.0.2"));
}

TEST_F(StartPageTest, ATargetThatIsNoAddressIsNeverSentTo)
{
    // inet_addr would make this the broadcast address 255.255.255.255.
    qputenv("KESTRIN_ECHO_TARGET", "255.255.255.255x");
    FakeIcmp::Install();
    StoreAddress(m_server.Url(QStringLiteral("/start")));
    CreateWindow();

    EXPECT_EQ(FakeIcmp::sends, 0);
    EXPECT_EQ(BrowserUrl(), LocalPage());
}

// --- No stored address ------------------------------------------------------

class NoAddressTest : public StartPageTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(NoAddressTest, ShowsTheLocalPageWithoutAnEchoRequest)
{
    FakeIcmp::Install();
    Database().Run(QLatin1String(GetParam()));
    CreateWindow();

    EXPECT_EQ(BrowserUrl(), LocalPage());
    EXPECT_EQ(FakeIcmp::sends, 0);
    EXPECT_TRUE(Database().Messages().isEmpty()) << Database().Messages().join(QLatin1Char('\n')).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Config, NoAddressTest,
                         ::testing::Values("update config set url = '' where id = 1",
                                           "update config set url = NULL where id = 1",
                                           "update config set url = '   ' where id = 1",
                                           "delete from config"));

TEST_F(StartPageTest, AnErrorReadingTheAddressIsShownOnceAndTheLocalPageFollows)
{
    FakeIcmp::Install();
    // The query still succeeds; reading its "url" column fails. Changed
    // through the window's own connection, which then knows the new table.
    CAdoConnection& connection = Database().Connection();
    ASSERT_TRUE(connection.Execute(QStringLiteral("drop table config")));
    ASSERT_TRUE(connection.Execute(QStringLiteral("create table config (id integer, address text)")));
    ASSERT_TRUE(connection.Execute(QStringLiteral("insert into config (id, address) values (1, '%1')")
                                       .arg(m_server.Url(QStringLiteral("/start")))));
    CreateWindow();

    EXPECT_EQ(Database().Messages().size(), 1);
    EXPECT_EQ(BrowserUrl(), LocalPage());
    EXPECT_EQ(FakeIcmp::sends, 0);
}

// --- The window itself -------------------------------------------------------

TEST_F(StartPageTest, TitleIconsAndEmptyDateFields)
{
    CreateWindow();
    EXPECT_EQ(Text("titleText"), "Kestrin");
    for (const char* name : {"controlDate", "startdate", "enddate"})
        EXPECT_EQ(Text(QLatin1String(name)), "") << name;
    EXPECT_FALSE(QIcon(QStringLiteral(":/icons/icon_big.png")).isNull());
    EXPECT_FALSE(QIcon(QStringLiteral(":/icons/icon_small.png")).isNull());
}

TEST_F(StartPageTest, TheWindowTakesKeysWithoutInputMethodComposition)
{
    CreateWindow();
    kit::test::FocusWindow(Hwnd());
    ASSERT_TRUE(kit::test::WindowHasFocus(Hwnd()));
    QObject* focus = QGuiApplication::focusObject();
    ASSERT_NE(focus, nullptr);
    QInputMethodQueryEvent query(Qt::ImEnabled);
    QCoreApplication::sendEvent(focus, &query);
    EXPECT_FALSE(query.value(Qt::ImEnabled).toBool());
}

// --- The handler in the running browser --------------------------------------

// The program's handler, also noting page titles and download requests.
class RecordingHandler : public CCustomWebEventHandler {
public:
    void TitleChange(CWebBrowserUI*, const QString& title) override { titles << title; }
    HRESULT Download(CWebBrowserUI* browser, const QString& url, const QString& mimeType,
                     const QString& suggestedFile, qint64 totalBytes, void* reserved1, void* reserved2,
                     DWORD flags) override
    {
        downloads << url;
        return CCustomWebEventHandler::Download(browser, url, mimeType, suggestedFile, totalBytes, reserved1,
                                                reserved2, flags);
    }

    QStringList titles;
    QStringList downloads;
};

class BrowserHandlerTest : public StartPageTest {
protected:
    void TearDown() override
    {
        if (Browser() != nullptr && m_original != nullptr)
            Browser()->SetWebBrowserEventHandler(m_original);
        StartPageTest::TearDown();
    }

    void UseRecordingHandler()
    {
        ASSERT_NE(Browser(), nullptr);
        m_original = Browser()->GetWebBrowserEventHandler();
        ASSERT_NE(m_original, nullptr);
        Browser()->SetWebBrowserEventHandler(&m_handler);
    }

    static void SendKey(Qt::Key key, Qt::KeyboardModifiers modifiers, const QString& text = QString())
    {
        QObject* focus = QGuiApplication::focusObject();
        ASSERT_NE(focus, nullptr);
        QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
        QCoreApplication::sendEvent(focus, &press);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
        QCoreApplication::sendEvent(focus, &release);
    }

    RecordingHandler m_handler;
    CWebBrowserEventHandler* m_original = nullptr;
};

TEST_F(BrowserHandlerTest, AcceleratorKeysInThePaneNeverReachThePage)
{
    // Each key that reaches the page is written into its title.
    m_server.SetResponse(QStringLiteral("/keys"), "text/html; charset=utf-8",
                         "<!DOCTYPE html><html><head><title>ready</title></head><body>"
                         "<script>let n = 0; document.addEventListener('keydown', e => {"
                         " document.title = 'key:' + e.key + ':' + (++n); });</script></body></html>");
    CreateWindow();
    UseRecordingHandler();
    Browser()->Navigate2(m_server.Url(QStringLiteral("/keys")));
    ASSERT_TRUE(WaitUntil([&] { return m_handler.titles.contains(QStringLiteral("ready")); }, kPageTimeoutMs));
    ASSERT_TRUE(kit::test::Click(Browser()));

    // Keys are lost until the page has settled into the focus: type a plain
    // key until one arrives, so that what follows cannot pass by being lost.
    const auto keysSeen = [&] { return m_handler.titles.filter(QRegularExpression(QStringLiteral("^key:"))); };
    bool pageTakesKeys = false;
    for (int attempt = 0; attempt < 40 && !pageTakesKeys; ++attempt) {
        SendKey(Qt::Key_Q, Qt::NoModifier, QStringLiteral("q"));
        pageTakesKeys = WaitUntil([&] { return !keysSeen().isEmpty(); }, 500);
    }
    ASSERT_TRUE(pageTakesKeys);

    SendKey(Qt::Key_F5, Qt::NoModifier);
    SendKey(Qt::Key_R, Qt::ControlModifier);
    SendKey(Qt::Key_P, Qt::ControlModifier);
    SendKey(Qt::Key_Left, Qt::AltModifier);
    SendKey(Qt::Key_F12, Qt::NoModifier);
    // A plain key still goes to the page, after any key sent before it.
    SendKey(Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    ASSERT_TRUE(WaitUntil([&] { return !keysSeen().filter(QStringLiteral("key:x:")).isEmpty(); }, kPageTimeoutMs))
        << m_handler.titles.join(QLatin1Char(' ')).toStdString();
    QStringList afterProbe = keysSeen();
    while (!afterProbe.isEmpty() && afterProbe.first().startsWith(QStringLiteral("key:q:")))
        afterProbe.removeFirst();
    ASSERT_EQ(afterProbe.size(), 1) << afterProbe.join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(afterProbe.first().startsWith(QStringLiteral("key:x:")));
}

TEST_F(BrowserHandlerTest, DownloadsAreRefused)
{
    // Downloads would land in the download folder below this home.
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const QByteArray previousHome = qgetenv("HOME");
    qputenv("HOME", home.path().toLocal8Bit());
    m_server.SetResponse(QStringLiteral("/invoices.bin"), "application/octet-stream", QByteArray(4096, 'k'),
                         "Content-Disposition: attachment; filename=\"invoices.bin\"\r\n");
    CreateWindow();
    UseRecordingHandler();
    Browser()->Navigate2(m_server.Url(QStringLiteral("/invoices.bin")));

    const bool asked = WaitUntil([&] { return !m_handler.downloads.isEmpty(); }, kPageTimeoutMs);
    // An accepted download of these few bytes lands within moments; give it
    // ample time to show up (or its partial file) before concluding it did not.
    QStringList written;
    WaitUntil([&] {
        written = QDir(home.filePath(QStringLiteral("Downloads"))).entryList(QDir::Files | QDir::Hidden);
        return !written.isEmpty();
    }, 3000);
    qputenv("HOME", previousHome);
    ASSERT_TRUE(asked);
    EXPECT_EQ(m_handler.downloads.first(), m_server.Url(QStringLiteral("/invoices.bin")));
    EXPECT_TRUE(written.isEmpty()) << written.join(QLatin1Char(' ')).toStdString();
}

TEST_F(StartPageTest, TheCloseRequestDetachesTheHandlerBeforeTheWindowGoes)
{
    CreateWindow();
    ASSERT_NE(Browser(), nullptr);
    EXPECT_NE(dynamic_cast<CCustomWebEventHandler*>(Browser()->GetWebBrowserEventHandler()), nullptr);

    bool handled = true;
    Window().OnClose(WM_CLOSE, 1, 0, handled);
    EXPECT_FALSE(handled); // the window goes on to be destroyed
    EXPECT_EQ(Browser()->GetWebBrowserEventHandler(), nullptr);
}

} // namespace
