// Registration on a register shared by several desks: a PostgreSQL server on
// loopback (a throwaway cluster, as the tests use) beside the encrypted file
// of a single desk, the baseline, in the same run.
//   Register/<binding>        the registration's lookup by number and code,
//                             then the insert of the new invoice
//   LookupStored/<binding>    the lookup of an invoice that is stored (a
//                             duplicate scan: no insert follows)
//   EightDesks/<binding>      8 desks at once, each a thread with its own
//                             connection, registering 50 invoices each: 25
//                             scanned by every desk in the same order, 25 of
//                             its own; items are registration attempts
//
// The tests' cluster runs without flushing to disk; here it is set to flush
// every commit, as a real server does and as the encrypted file does.
#include "store/CAdoConnection.h"
#include "store/Statements.h"
#include "store/engine/Recordset.h"
#include "store/engine/Variant.h"
#include "tests/support/PostgreSqlServer.h"
#include "tests/support/TempInvoiceDatabase.h"
#include "ui/kit/MessageBox.h"

#include <QCoreApplication>
#include <QDate>

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

namespace {

using engine::ProviderKind;

constexpr int kDesks = 8;
constexpr int kSharedPerDesk = 25;
constexpr int kOwnPerDesk = 25;

// Refusals shown by the connections (a desk that lost a race to the insert).
std::atomic<int> g_messages = 0;

const char* Name(ProviderKind kind)
{
    return kind == ProviderKind::PostgreSql ? "PostgreSql" : "SqlCipher";
}

// What the window does for a scanned invoice: the lookup, and the insert
// when it is not stored. True when this call stored it.
bool Register(CAdoConnection& connection, const QString& code, const QString& number)
{
    if (!connection.OpenRecordset(
            Statements::Format(Statements::SelectInvoiceByNumberAndCode, {number, code})))
        return false;
    const auto recordset = connection.GetRecordset();
    const bool found = !recordset->IsEOF();
    if (found)
        benchmark::DoNotOptimize(recordset->Collect(QStringLiteral("INV_OPDATE")).ToText());
    recordset->Close();
    if (found)
        return false;
    static const QString today = QDate::currentDate().toString(Qt::ISODate);
    return connection.Execute(Statements::Format(
        Statements::InsertInvoiceWithDate,
        {"01", "04", code, number, "165106.00", "2016-05-01", "294433", "DBFE", today, 1, ""}));
}

// One database per binding, made before any timing, with a connection per desk.
struct SharedRegister {
    explicit SharedRegister(ProviderKind kind) : database(kind)
    {
        if (!database.IsValid()) {
            std::fprintf(stderr, "%s: %s\n", Name(kind), qPrintable(database.Error()));
            std::exit(1);
        }
        for (int d = 0; d < kDesks; ++d) {
            desks.push_back(std::make_unique<CAdoConnection>());
            if (!desks.back()->Open(QString(), QString(), QString(), -1, database.ConnectionString())) {
                std::fprintf(stderr, "%s: cannot open a desk's connection\n", Name(kind));
                std::exit(1);
            }
        }
    }

    TempInvoiceDatabase database;
    std::vector<std::unique_ptr<CAdoConnection>> desks;
    int nextNumber = 10000000;
};

SharedRegister* g_registers[2] = {nullptr, nullptr};

SharedRegister& RegisterOf(ProviderKind kind)
{
    return *g_registers[kind == ProviderKind::PostgreSql ? 1 : 0];
}

void RegisterNew(benchmark::State& state, ProviderKind kind)
{
    SharedRegister& reg = RegisterOf(kind);
    CAdoConnection& connection = *reg.desks.front();
    int stored = 0;
    for (auto _ : state)
        stored += Register(connection, QStringLiteral("144031900111"), QString::number(reg.nextNumber++)) ? 1 : 0;
    if (stored != state.iterations())
        state.SkipWithError("an invoice was not stored");
}

void LookupStored(benchmark::State& state, ProviderKind kind)
{
    SharedRegister& reg = RegisterOf(kind);
    CAdoConnection& connection = *reg.desks.front();
    const QString number = QString::number(reg.nextNumber++);
    Register(connection, QStringLiteral("344031900111"), number);
    for (auto _ : state) {
        if (Register(connection, QStringLiteral("344031900111"), number))
            state.SkipWithError("a stored invoice was stored again");
    }
}

void EightDesks(benchmark::State& state, ProviderKind kind)
{
    SharedRegister& reg = RegisterOf(kind);
    std::atomic<int> stored = 0;
    const int messagesBefore = g_messages.load();
    for (auto _ : state) {
        const int first = reg.nextNumber;
        reg.nextNumber += kSharedPerDesk + kDesks * kOwnPerDesk;
        std::vector<std::thread> desks;
        for (int d = 0; d < kDesks; ++d) {
            desks.emplace_back([&, d] {
                CAdoConnection& connection = *reg.desks[d];
                for (int i = 0; i < kSharedPerDesk + kOwnPerDesk; ++i) {
                    // Shared and own invoices alternate.
                    const int number = i % 2 == 0 ? first + i / 2
                                                  : first + kSharedPerDesk + d * kOwnPerDesk + i / 2;
                    if (Register(connection, QStringLiteral("244031900111"), QString::number(number)))
                        ++stored;
                }
            });
        }
        for (std::thread& desk : desks)
            desk.join();
    }
    const auto runs = static_cast<int>(state.iterations());
    state.SetItemsProcessed(state.iterations() * kDesks * (kSharedPerDesk + kOwnPerDesk));
    state.counters["stored_per_run"] = static_cast<double>(stored.load()) / runs;
    state.counters["refused_at_insert_per_run"] = static_cast<double>(g_messages.load() - messagesBefore) / runs;
    if (stored.load() != runs * (kSharedPerDesk + kDesks * kOwnPerDesk))
        state.SkipWithError("not every invoice was stored exactly once");
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    {
        PostgreSqlServer& cluster = PostgreSqlServer::Instance();
        QString output;
        if (!cluster.IsRunning()
            || !cluster.Administer(QStringLiteral("postgres"),
                                   QStringLiteral("ALTER SYSTEM SET fsync = on"), &output)
            || !cluster.Administer(QStringLiteral("postgres"),
                                   QStringLiteral("ALTER SYSTEM SET synchronous_commit = on"), &output)
            || !cluster.Administer(QStringLiteral("postgres"),
                                   QStringLiteral("ALTER SYSTEM SET full_page_writes = on"), &output)
            || !cluster.Administer(QStringLiteral("postgres"), QStringLiteral("SELECT pg_reload_conf()"),
                                   &output)) {
            std::fprintf(stderr, "the PostgreSQL server: %s %s\n", qPrintable(cluster.Error()),
                         qPrintable(output));
            return 1;
        }
        cluster.Administer(QStringLiteral("postgres"),
                           QStringLiteral("SELECT current_setting('fsync') || ' ' || current_setting('synchronous_commit')"),
                           &output);
        std::fprintf(stderr, "server flushes commits: fsync, synchronous_commit = %s\n", qPrintable(output));
        SharedRegister file(ProviderKind::SqlCipher);
        SharedRegister server(ProviderKind::PostgreSql);
        g_registers[0] = &file;
        g_registers[1] = &server;
        // A desk that loses a race meets the unique key at its insert; the
        // connection shows that refusal, counted here.
        const kit::MessageBoxHandler previous =
            kit::SetMessageBoxHandler([](const QString&) { ++g_messages; });

        for (const ProviderKind kind : {ProviderKind::SqlCipher, ProviderKind::PostgreSql}) {
            benchmark::RegisterBenchmark((QStringLiteral("Register/") + Name(kind)).toUtf8().constData(),
                                         RegisterNew, kind)
                ->Unit(benchmark::kMicrosecond)
                ->MinTime(1.0);
            benchmark::RegisterBenchmark((QStringLiteral("LookupStored/") + Name(kind)).toUtf8().constData(),
                                         LookupStored, kind)
                ->Unit(benchmark::kMicrosecond)
                ->MinTime(1.0);
        }
        for (const ProviderKind kind : {ProviderKind::SqlCipher, ProviderKind::PostgreSql}) {
            benchmark::RegisterBenchmark((QStringLiteral("EightDesks/") + Name(kind)).toUtf8().constData(),
                                         EightDesks, kind)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime()
                ->MinTime(2.0);
        }
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
        kit::SetMessageBoxHandler(previous);
    }
    PostgreSqlServer::Instance().Stop();
    return 0;
}
