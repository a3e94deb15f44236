// Loading a large query result into the main window's list, beside the bare
// engine query over the same encrypted file in the same run:
//   EngineQuery    OpenRecordset and a walk over every row (the baseline)
//   QueryInvoices  the query read into the window's result
//   QueryIntoList  the query, the list filled, and the rows shown
#include "app/CKestrinWnd.h"
#include "bench/SampleInvoices.h"
#include "store/CAdoConnection.h"
#include "store/InvoiceSchema.h"
#include "store/Statements.h"
#include "ui/kit/CListUI.h"
#include "ui/kit/CPaintManagerUI.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

constexpr int kInvoices = 100000;

// An encrypted invoice database with kInvoices registered invoices, made
// once per run, and the program's connection on it.
class StoredInvoices {
public:
    StoredInvoices()
    {
        const QString path = m_directory.filePath(Statements::DatabaseFileName);
        QString error;
        if (!CreateInvoiceDatabase(path, &error))
            Fail("cannot create the database: " + error);
        if (!m_connection.Open(QString(), QString(), QString(), -1, Statements::ConnectionString(path)))
            Fail("cannot open the database");

        QStringList inserts;
        inserts.reserve(kInvoices);
        for (int i = 0; i < kInvoices; ++i) {
            // Every tenth invoice came in by import, without a remark.
            inserts << SampleInvoiceInsert(i, i % 10 == 0 ? QStringLiteral("NULL") : SampleRemarkLiteral(i));
        }
        if (!m_connection.ExecuteBatch(inserts))
            Fail("cannot store the invoices");
    }

    CAdoConnection& Connection() { return m_connection; }

private:
    [[noreturn]] static void Fail(const QString& why)
    {
        std::fprintf(stderr, "%s\n", qPrintable(why));
        std::exit(1);
    }

    QTemporaryDir m_directory;
    CAdoConnection m_connection;
};

// Made in main, before any timing starts, and gone before the application.
StoredInvoices* g_pInvoices = nullptr;
CKestrinWnd* g_pWindow = nullptr;

// The main window on the stored invoices, shown offscreen on its query page.
std::unique_ptr<CKestrinWnd> ShowQueryPage(CAdoConnection& connection)
{
    auto window = std::make_unique<CKestrinWnd>(connection);
    if (window->Create(nullptr, QStringLiteral("KestrinWnd"), UI_WNDSTYLE_FRAME, 0, 0, 0, 800, 572) == nullptr)
        return nullptr;
    window->ShowWindow(true, false);
    TNotifyUI toQueryPage;
    toQueryPage.sType = QStringLiteral("selectchanged");
    toQueryPage.pSender = window->FindControl(QStringLiteral("query"));
    window->Notify(toQueryPage);
    QCoreApplication::processEvents();
    return window;
}

void CountRows(benchmark::State& state, int rows)
{
    if (rows != kInvoices)
        state.SkipWithError("not every invoice was read");
    state.counters["rows"] = rows;
}

void EngineQuery(benchmark::State& state)
{
    CAdoConnection& connection = g_pInvoices->Connection();
    int rows = 0;
    for (auto _ : state) {
        rows = 0;
        if (!connection.OpenRecordset(Statements::SelectRegisteredInvoices))
            state.SkipWithError("query failed");
        const auto recordset = connection.GetRecordset();
        for (; !recordset->IsEOF(); recordset->MoveNext())
            ++rows;
        recordset->Close();
    }
    CountRows(state, rows);
}

void QueryInvoices(benchmark::State& state)
{
    CKestrinWnd& window = *g_pWindow;
    for (auto _ : state)
        window.QueryInvoices();
    CountRows(state, static_cast<int>(window.QueryResult().size()));
}

void QueryIntoList(benchmark::State& state)
{
    CKestrinWnd& window = *g_pWindow;
    auto* list = dynamic_cast<CListUI*>(window.FindControl(QStringLiteral("listdata")));
    // Where the time goes, in milliseconds per run.
    double queryMs = 0;
    double fillMs = 0;
    double showMs = 0;
    QElapsedTimer clock;
    for (auto _ : state) {
        clock.start();
        window.QueryInvoices();
        queryMs += static_cast<double>(clock.nsecsElapsed()) / 1e6;
        clock.start();
        window.FillQueryList();
        fillMs += static_cast<double>(clock.nsecsElapsed()) / 1e6;
        clock.start();
        // Let the view take the rows and draw them.
        QCoreApplication::processEvents();
        showMs += static_cast<double>(clock.nsecsElapsed()) / 1e6;
    }
    CountRows(state, list != nullptr ? list->GetCount() : 0);
    state.counters["query_ms"] = benchmark::Counter(queryMs, benchmark::Counter::kAvgIterations);
    state.counters["fill_ms"] = benchmark::Counter(fillMs, benchmark::Counter::kAvgIterations);
    state.counters["show_ms"] = benchmark::Counter(showMs, benchmark::Counter::kAvgIterations);
}

// The machine may be busy with other work: the fastest of several runs is
// the fairest figure of what the code costs.
double Fastest(const std::vector<double>& times)
{
    return *std::min_element(times.begin(), times.end());
}

BENCHMARK(EngineQuery)->Unit(benchmark::kMillisecond)->MinTime(1.0)->Repetitions(5)->ComputeStatistics("min", Fastest);
BENCHMARK(QueryInvoices)->Unit(benchmark::kMillisecond)->MinTime(1.0)->Repetitions(5)->ComputeStatistics("min", Fastest);
BENCHMARK(QueryIntoList)->Unit(benchmark::kMillisecond)->MinTime(1.0)->Repetitions(5)->ComputeStatistics("min", Fastest);

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The start page and its echo request stay on this machine.
    qputenv("KESTRIN_ECHO_TARGET", "127.0.0.1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    CPaintManagerUI::SetResourcePath(QStringLiteral(KESTRIN_SKIN_DIR));

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    StoredInvoices invoices;
    const std::unique_ptr<CKestrinWnd> window = ShowQueryPage(invoices.Connection());
    if (!window) {
        std::fprintf(stderr, "cannot create the main window\n");
        return 1;
    }
    g_pInvoices = &invoices;
    g_pWindow = window.get();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    window->Close(1);
    for (int i = 0; i < 100 && window->GetHWND() != nullptr; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return 0;
}
