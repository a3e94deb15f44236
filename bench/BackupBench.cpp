// Export and import of 100,000 invoices, each beside the same work done by
// the sqlcipher shell on the same encrypted data in the same run:
//   ExportProgram  the program's export loop (InvoiceExporter, as RunExport
//                  runs it) on a connection opened for it, into a new file
//   ExportShell    the shell: ".mode csv" of "select * from invoice" into a file
//   ImportProgram  the program's import (InvoiceImporter, as RunImport runs
//                  it, without the one-second pause and the dialog) of the
//                  exported file into an empty database: a lookup per line,
//                  then every insert in one transaction
//   ImportShell    the shell running the same lookups and inserts as a script
//                  in one transaction on an empty database
// Both sides open the database (and derive its key) inside the timing.
#include "backup/BackupField.h"
#include "backup/BackupFileReader.h"
#include "backup/BackupLineParser.h"
#include "backup/InvoiceExporter.h"
#include "backup/InvoiceImporter.h"
#include "bench/SampleInvoices.h"
#include "store/CAdoConnection.h"
#include "store/InvoiceSchema.h"
#include "store/Statements.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sys/resource.h>

namespace {

constexpr int kInvoices = 100000;

[[noreturn]] void Fail(const QString& why)
{
    std::fprintf(stderr, "%s\n", qPrintable(why));
    std::exit(1);
}

QString Quoted(QString text)
{
    return QLatin1Char('\'') + text.replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
}

// The files every benchmark works on, made once per run.
struct BackupData {
    QTemporaryDir directory;
    QString shell;
    QString storedDatabase;  // kInvoices invoices
    QString emptyDatabase;   // the schema only
    QString workDatabase;    // a copy of emptyDatabase per import
    QString backupFile;      // the program's export of storedDatabase
    QString exportScript;    // the shell's export
    QString importScript;    // the shell's import of backupFile
    QString outputFile;
};

BackupData* g_pData = nullptr;

bool OpenConnection(CAdoConnection& connection, const QString& path)
{
    return connection.Open(QString(), QString(), QString(), -1, Statements::ConnectionString(path));
}

void StoreInvoices(const QString& path)
{
    CAdoConnection connection;
    if (!OpenConnection(connection, path))
        Fail("cannot open the database");
    QStringList inserts;
    inserts.reserve(kInvoices);
    for (int i = 0; i < kInvoices; ++i)
        inserts << SampleInvoiceInsert(i, SampleRemarkLiteral(i));
    if (!connection.ExecuteBatch(inserts))
        Fail("cannot store the invoices");
}

// The lookups and inserts of one import of `backupFile`, for the shell.
QByteArray ImportScript(const QString& backupFile)
{
    BackupFileReader reader;
    if (!reader.Open(backupFile))
        Fail("cannot read the backup file");
    QByteArray lookups;
    QByteArray inserts;
    QString line;
    QStringList fields;
    int lines = 0;
    while (reader.ReadLine(line)) {
        if (!BackupLineParser::Parse(line, fields))
            Fail("the backup file has a bad line");
        ++lines;
        lookups += QStringLiteral("select * from invoice where INV_CODE = %1 and INV_NUMBER = %2;\n")
                       .arg(Quoted(fields.at(BackupCode)), Quoted(fields.at(BackupNumber)))
                       .toUtf8();
        QStringList values;
        for (int i = 0; i < BackupFieldCount; ++i) {
            const bool date = i == BackupDate || i == BackupOpDate;
            values << (date && fields.at(i).isEmpty() ? QStringLiteral("NULL") : Quoted(fields.at(i)));
        }
        inserts += QStringLiteral("INSERT INTO INVOICE(INV_TOPTYPE, INV_SUBTYPE, INV_NUMBER, INV_CODE, "
                                  "INV_VALUE, INV_DATE, INV_CHECKCODE, INV_STATUS, INV_CHECKBIT, INV_OPDATE, "
                                  "IS_AUTOSCAN) VALUES(%1);\n")
                       .arg(values.join(QLatin1Char(',')))
                       .toUtf8();
    }
    if (lines != kInvoices)
        Fail("the backup file does not hold every invoice");
    return "PRAGMA key='" + Statements::DatabasePassword.toUtf8() + "';\nBEGIN IMMEDIATE;\n" + lookups + inserts
        + "COMMIT;\n";
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        Fail("cannot write " + path);
}

void CopyDatabase(const QString& from, const QString& to)
{
    QFile::remove(to);
    if (!QFile::copy(from, to))
        Fail("cannot copy the database");
}

// CPU time (user and system) of the ended child processes so far, in ms.
double ChildCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// The machine is shared: beside the wall time, each side's CPU time is
// given as "cpu_ms" per run (for the shell, that of its process).
void ReportCpu(benchmark::State& state, double cpuMs)
{
    state.counters["cpu_ms"] = benchmark::Counter(cpuMs / static_cast<double>(state.iterations()));
}

void RunShell(benchmark::State& state, const QString& database, const QString& script)
{
    QProcess shell;
    shell.setStandardInputFile(script);
    shell.setStandardOutputFile(QProcess::nullDevice());
    shell.start(g_pData->shell, {database});
    if (!shell.waitForFinished(-1) || shell.exitCode() != 0)
        state.SkipWithError("the shell failed");
    const QByteArray errors = shell.readAllStandardError();
    if (!errors.isEmpty())
        state.SkipWithError(errors.constData());
}

double ProcessCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
}

void ExportProgram(benchmark::State& state)
{
    InvoiceExporter::Result result;
    const double cpuBefore = ProcessCpuMs();
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(g_pData->outputFile);
        state.ResumeTiming();
        CAdoConnection connection;
        if (!OpenConnection(connection, g_pData->storedDatabase))
            state.SkipWithError("cannot open the database");
        result = InvoiceExporter::Export(connection, g_pData->outputFile, [](int) {});
    }
    ReportCpu(state, ProcessCpuMs() - cpuBefore);
    if (result.outcome != InvoiceExporter::Outcome::Done || result.rowsWritten != kInvoices)
        state.SkipWithError("not every invoice was written");
    state.counters["rows"] = result.rowsWritten;
}

void ExportShell(benchmark::State& state)
{
    const double cpuBefore = ChildCpuMs();
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(g_pData->outputFile);
        state.ResumeTiming();
        RunShell(state, g_pData->storedDatabase, g_pData->exportScript);
    }
    ReportCpu(state, ChildCpuMs() - cpuBefore);
    QFile output(g_pData->outputFile);
    if (!output.open(QIODevice::ReadOnly) || output.readAll().count('\n') != kInvoices)
        state.SkipWithError("the shell did not write every invoice");
}

void ImportProgram(benchmark::State& state)
{
    int code = 0;
    int32_t stored = 0;
    double cpuMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        CopyDatabase(g_pData->emptyDatabase, g_pData->workDatabase);
        state.ResumeTiming();
        const double cpuBefore = ProcessCpuMs();
        CAdoConnection connection;
        if (!OpenConnection(connection, g_pData->workDatabase))
            state.SkipWithError("cannot open the database");
        InvoiceImporter importer(connection);
        code = importer.ReadFile(g_pData->backupFile, {}, [](int) {});
        if (code == 0)
            code = importer.Store();
        stored = importer.NewInvoices();
        cpuMs += ProcessCpuMs() - cpuBefore;
    }
    ReportCpu(state, cpuMs);
    if (code != InvoiceImporter::kStored || stored != kInvoices)
        state.SkipWithError("not every invoice was stored");
    state.counters["rows"] = stored;
}

void ImportShell(benchmark::State& state)
{
    const double cpuBefore = ChildCpuMs();
    for (auto _ : state) {
        state.PauseTiming();
        CopyDatabase(g_pData->emptyDatabase, g_pData->workDatabase);
        state.ResumeTiming();
        RunShell(state, g_pData->workDatabase, g_pData->importScript);
    }
    ReportCpu(state, ChildCpuMs() - cpuBefore);
}

BENCHMARK(ExportProgram)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();
BENCHMARK(ExportShell)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();
BENCHMARK(ImportProgram)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();
BENCHMARK(ImportShell)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    BackupData data;
    data.shell = QStandardPaths::findExecutable(QStringLiteral("sqlcipher"));
    if (data.shell.isEmpty())
        Fail("the sqlcipher shell is not installed");
    data.storedDatabase = data.directory.filePath(QStringLiteral("stored.ss"));
    data.emptyDatabase = data.directory.filePath(QStringLiteral("empty.ss"));
    data.workDatabase = data.directory.filePath(QStringLiteral("work.ss"));
    data.backupFile = data.directory.filePath(QStringLiteral("Backup.dat"));
    data.exportScript = data.directory.filePath(QStringLiteral("export.sql"));
    data.importScript = data.directory.filePath(QStringLiteral("import.sql"));
    data.outputFile = data.directory.filePath(QStringLiteral("output.dat"));
    QString error;
    if (!CreateInvoiceDatabase(data.storedDatabase, &error) || !CreateInvoiceDatabase(data.emptyDatabase, &error))
        Fail("cannot create a database: " + error);
    StoreInvoices(data.storedDatabase);
    {
        CAdoConnection connection;
        if (!OpenConnection(connection, data.storedDatabase))
            Fail("cannot open the database");
        const auto result = InvoiceExporter::Export(connection, data.backupFile, {});
        if (result.rowsWritten != kInvoices)
            Fail("cannot export the invoices");
    }
    WriteFile(data.exportScript, "PRAGMA key='" + Statements::DatabasePassword.toUtf8() + "';\n.mode csv\n.output "
                                     + data.outputFile.toUtf8() + "\nselect * from invoice;\n");
    WriteFile(data.importScript, ImportScript(data.backupFile));
    g_pData = &data;

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
