// Several desks, each a process of its own with the real main window,
// register into one database on the PostgreSQL server at the same moment.
#include "tests/support/DeskProcess.h"
#include "tests/support/MainWindowFixture.h"
#include "tests/support/PostgreSqlServer.h"
#include "tests/support/ScannedInvoice.h"
#include "tests/support/TempInvoiceDatabase.h"

#include "store/engine/Variant.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QMap>

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int kDesks = 4;
constexpr int kSharedInvoices = 40; // every desk scans each of them
constexpr int kOwnInvoices = 15;    // per desk, scanned by that desk alone
constexpr int kDeskTimeoutMs = 240000;

const QString kStored = QStringLiteral("报销入库成功！");
const QString kRefusedByKey = QStringLiteral("duplicate key value violates unique constraint");

using Invoice = ScannedInvoice;

// The program folder of the desks: the desk program with the data link file
// beside it, as an office installs Kestrin at each desk.
QString InstallDeskProgram(const QString& folder, const QString& connectionString)
{
    const QString program = QDir(folder).filePath(QStringLiteral("kestrin_desk_client"));
    // A hard link where the folders share a file system, else a copy: the
    // program finds its data link file beside its own path, not beside its target.
    if (link(QFile::encodeName(QStringLiteral(KESTRIN_DESK_CLIENT)).constData(),
             QFile::encodeName(program).constData()) != 0
        && !QFile::copy(QStringLiteral(KESTRIN_DESK_CLIENT), program))
        return QString();
    if (!MainWindowFixture::WriteDataLinkFile(QDir(folder).filePath(QStringLiteral("invoice.udl")), connectionString))
        return QString();
    return program;
}

// How often the server has refused a row by the unique key so far: the
// races that the lookup could not see and the insert settled.
int KeyRefusalsLogged()
{
    QFile log(PostgreSqlServer::Instance().SocketDirectory() + QStringLiteral("/server.log"));
    if (!log.open(QIODevice::ReadOnly))
        return -1;
    return static_cast<int>(log.readAll().count(kRefusedByKey.toUtf8()));
}

// A desk process with the invoices it scans, in order.
struct Desk {
    explicit Desk(const QString& program) : process(program) {}

    QList<Invoice> scans;
    DeskProcess process;
};

TEST(SeveralDesksTest, DesksRegisteringAtOnceStoreEachInvoiceOnceAndTellTheOthers)
{
    TempInvoiceDatabase database(engine::ProviderKind::PostgreSql, TempInvoiceDatabase::Connect::No);
    ASSERT_TRUE(database.IsValid()) << database.Error().toStdString();
    const QString program = InstallDeskProgram(database.Directory(), database.ConnectionString());
    ASSERT_FALSE(program.isEmpty());

    QList<Invoice> shared;
    for (int i = 0; i < kSharedInvoices; ++i)
        shared.append({QStringLiteral("144031900111"), QString::number(50000000 + i)});
    // Every desk scans the shared invoices in the same order, so that they
    // meet on each one; every third scan is an invoice of the desk's own.
    std::vector<std::unique_ptr<Desk>> desks;
    QList<Invoice> own;
    const QString go = QDir(database.Directory()).filePath(QStringLiteral("go"));
    for (int d = 0; d < kDesks; ++d) {
        auto desk = std::make_unique<Desk>(program);
        for (int i = 0, ownNext = 0; i < kSharedInvoices; ++i) {
            desk->scans.append(shared.at(i));
            if (i % 2 == 1 && ownNext < kOwnInvoices) {
                const Invoice mine{QStringLiteral("2440319001%1").arg(d, 2, 10, QLatin1Char('0')),
                                   QString::number(60000000 + ownNext++)};
                desk->scans.append(mine);
                own.append(mine);
            }
        }
        const QString payloads = WritePayloadFile(
            QDir(database.Directory()).filePath(QStringLiteral("desk%1.txt").arg(d)), desk->scans);
        ASSERT_FALSE(payloads.isEmpty());
        ASSERT_TRUE(desk->process.Start({payloads, go}));
        desks.push_back(std::move(desk));
    }
    for (auto& desk : desks) {
        ASSERT_TRUE(desk->process.WaitForLine(QStringLiteral("READY"), 60000)) << desk->process.Errors().toStdString();
    }
    const int refusalsBefore = KeyRefusalsLogged();
    QFile(go).open(QIODevice::WriteOnly);
    for (auto& desk : desks) {
        EXPECT_TRUE(desk->process.WaitForFinished(kDeskTimeoutMs));
        EXPECT_TRUE(desk->process.ExitedNormally()) << desk->process.Errors().toStdString();
        EXPECT_TRUE(desk->process.Lines().contains(QStringLiteral("DONE")));
        EXPECT_EQ(desk->process.Texts(QStringLiteral("MESSAGE")), QStringList()) << "no desk sees an engine error";
    }
    const int refusedByKey = KeyRefusalsLogged() - refusalsBefore;

    // What each desk's state label showed, by invoice.
    const QString duplicate = QStringLiteral("发票已存在,入库日期【%1】")
                                  .arg(engine::Variant::FromDate(QDate::currentDate()).ToText());
    QMap<QString, int> storedBy;    // invoice -> desks that stored it
    QMap<QString, int> refusedBy;   // invoice -> desks told it is a duplicate
    int attempts = 0;
    for (const auto& desk : desks) {
        const QStringList states = desk->process.Texts(QStringLiteral("STATE"));
        EXPECT_EQ(states.size(), desk->scans.size());
        for (const QString& state : states) {
            const qsizetype tab = state.indexOf(QLatin1Char('\t'));
            const QString key = desk->scans.value(state.left(tab).toInt()).Key();
            const QString text = state.mid(tab + 1);
            ++attempts;
            if (text == kStored)
                ++storedBy[key];
            else if (text == duplicate)
                ++refusedBy[key];
            else
                ADD_FAILURE() << key.toStdString() << ": " << text.toStdString();
        }
    }
    for (const Invoice& invoice : std::as_const(shared)) {
        EXPECT_EQ(storedBy.value(invoice.Key()), 1) << invoice.Key().toStdString();
        EXPECT_EQ(refusedBy.value(invoice.Key()), kDesks - 1) << invoice.Key().toStdString();
    }
    for (const Invoice& invoice : std::as_const(own)) {
        EXPECT_EQ(storedBy.value(invoice.Key()), 1) << invoice.Key().toStdString();
        EXPECT_EQ(refusedBy.value(invoice.Key()), 0) << invoice.Key().toStdString();
    }

    // The server holds exactly one row per invoice, none lost.
    QMap<QString, int> rows;
    const auto stored = database.ReadRows(QStringLiteral("select * from INVOICE"));
    for (const auto& row : stored)
        ++rows[row.value("INV_CODE").ToText() + QLatin1Char('/') + row.value("INV_NUMBER").ToText()];
    EXPECT_EQ(stored.size(), shared.size() + own.size());
    for (const QList<Invoice>* list : {&shared, &own}) {
        for (const Invoice& invoice : *list)
            EXPECT_EQ(rows.value(invoice.Key()), 1) << invoice.Key().toStdString();
    }

    int duplicatesShown = 0;
    for (int count : std::as_const(refusedBy))
        duplicatesShown += count;
    QStringList storedPerDesk;
    for (const auto& desk : desks)
        storedPerDesk << QString::number(desk->process.Texts(QStringLiteral("STATE")).filter(kStored).size());
    std::printf("[ figures  ] %d desks, %d attempts (%lld shared invoices, %lld of the desks' own): "
                "%lld rows stored, %d duplicates shown, %d of them refused by the unique key at the insert; "
                "stored per desk: %s\n",
                kDesks, attempts, static_cast<long long>(shared.size()), static_cast<long long>(own.size()),
                static_cast<long long>(stored.size()), duplicatesShown, refusedByKey,
                qPrintable(storedPerDesk.join(QStringLiteral(", "))));
}

} // namespace
