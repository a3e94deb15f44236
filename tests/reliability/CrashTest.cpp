#include "store/Statements.h"
#include "store/engine/Connection.h"
#include "store/engine/Variant.h"
#include "tests/support/DeskProcess.h"
#include "tests/support/TempInvoiceDatabase.h"

#include <QDate>
#include <QFile>
#include <QSet>
#include <QThread>

#include <gtest/gtest.h>

#include <cstdio>
#include <random>

namespace {

constexpr int kKills = 50;
const QString kCode = QStringLiteral("144031900111");

// A desk is killed at random moments; each time the database file, with
// whatever the killed desk left beside it, must pass SQLite's integrity
// check and hold only whole invoices.
class CrashTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_database = std::make_unique<TempInvoiceDatabase>(TempInvoiceDatabase::Connect::No);
        ASSERT_TRUE(m_database->IsValid()) << m_database->Error().toStdString();
        const unsigned seed = std::random_device{}();
        m_random.seed(seed);
        std::printf("[ seed     ] %u\n", seed);
    }

    QString FilePath(const QString& name) const { return m_database->Directory() + QLatin1Char('/') + name; }

    // The database as it is now becomes the state every run starts from.
    void KeepAsPristine() { ASSERT_TRUE(QFile::copy(m_database->Path(), FilePath("pristine.ss"))); }
    void RestorePristine()
    {
        QFile::remove(m_database->Path() + QStringLiteral("-journal"));
        QFile::remove(m_database->Path());
        ASSERT_TRUE(QFile::copy(FilePath("pristine.ss"), m_database->Path()));
    }

    void ExpectIntact()
    {
        const auto rows = m_database->ReadRows(QStringLiteral("PRAGMA integrity_check"));
        ASSERT_EQ(rows.size(), 1);
        EXPECT_EQ(rows.first().first().ToText(), QStringLiteral("ok"));
    }

    QList<QMap<QString, engine::Variant>> Invoices()
    {
        return m_database->ReadRows(QStringLiteral("select * from INVOICE"));
    }

    // Runs the desk with `arguments` and kills it `killAfterMs` after it
    // reported a line starting with `anchor`. False when it ended on its own
    // before.
    bool RunAndKill(DeskProcess& desk, const QStringList& arguments, const QString& anchor, qint64 killAfterMs)
    {
        EXPECT_TRUE(desk.Start(arguments));
        EXPECT_TRUE(desk.WaitForLine(QStringLiteral("READY"), 60000)) << desk.Errors().toStdString();
        if (!desk.WaitForLine(anchor, 60000))
            return false;
        const bool ended = desk.WaitForLine(QStringLiteral("DONE"), static_cast<int>(killAfterMs));
        desk.Kill();
        EXPECT_TRUE(desk.WaitForFinished(10000));
        return !ended;
    }

    qint64 Uniform(qint64 from, qint64 to)
    {
        return std::uniform_int_distribution<qint64>(qMax<qint64>(0, from), qMax(from, to))(m_random);
    }

    std::unique_ptr<TempInvoiceDatabase> m_database;
    std::mt19937 m_random;
};

QString Number(int n)
{
    return QString::number(50000000 + n);
}

// Import: the file's new invoices are stored in one transaction. Killed at
// any moment, the desk leaves either none of them or all of them.
TEST_F(CrashTest, AKilledImportStoresAllOrNoneOfTheNewInvoices)
{
    constexpr int kStored = 100;
    constexpr int kNew = 1500;
    {
        engine::Connection connection;
        connection.Open(m_database->ConnectionString());
        connection.BeginTrans();
        for (int n = 0; n < kStored; ++n)
            connection.Execute(Statements::Format(Statements::InsertInvoiceWithDate,
                                                  {"01", "04", kCode, Number(n), "1.00", "2024-03-05", "123456",
                                                   "", "2024-04-01", 1, ""}));
        connection.CommitTrans();
    }
    KeepAsPristine();
    QFile file(FilePath("backup.dat"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    for (int n = 0; n < kStored + kNew; ++n)
        file.write(QStringLiteral("01,04,%1,%2,%3.50,2024-03-05,12345678901234567890,1,,2024-04-01,1\r\n")
                       .arg(Number(n), kCode)
                       .arg(n)
                       .toLatin1());
    file.close();
    const QStringList arguments = {QStringLiteral("import"), m_database->Path(), file.fileName(),
                                   QStringLiteral("0")};

    // A whole run tells when reading nears its end (the bar shows 45) and
    // when the invoices are stored.
    const QString nearReadEnd = QStringLiteral("BAR\t45");
    qint64 readEnd = 0;
    qint64 storeEnd = 0;
    {
        DeskProcess desk(QStringLiteral(KESTRIN_TEST_DESK));
        ASSERT_TRUE(desk.Start(arguments));
        ASSERT_TRUE(desk.WaitForLine(QStringLiteral("DONE"), 120000)) << desk.Errors().toStdString();
        ASSERT_EQ(desk.Texts(QStringLiteral("PROMPT")),
                  QStringList{QStringLiteral("成功导入%1条数据,有%2条数据在系统中已经存在！").arg(kNew).arg(kStored)});
        const qint64 ready = desk.FirstTime(QStringLiteral("READY"));
        storeEnd = desk.FirstTime(QStringLiteral("BAR\t100")) - ready;
        readEnd = desk.FirstTime(nearReadEnd) - ready;
        ASSERT_EQ(Invoices().size(), kStored + kNew);
        std::printf("[ figures  ] whole import: bar at 45 by %lld ms, stored by %lld ms after READY\n", readEnd,
                    storeEnd);
    }

    int kills = 0;
    int none = 0;
    int all = 0;
    int journals = 0;
    for (int run = 0; kills < kKills && run < 2 * kKills; ++run) {
        RestorePristine();
        // Half the kills anywhere in the run, half around the batch.
        const bool anywhere = run % 2 == 0;
        const QString anchor = anywhere ? QStringLiteral("READY") : nearReadEnd;
        const qint64 at = anywhere ? Uniform(0, storeEnd) : Uniform(0, storeEnd - readEnd);
        DeskProcess desk(QStringLiteral(KESTRIN_TEST_DESK));
        if (!RunAndKill(desk, arguments, anchor, at))
            continue;
        ++kills;
        // Killed inside the transaction: its journal is left for the next
        // opener to roll back.
        journals += QFile::exists(m_database->Path() + QStringLiteral("-journal")) ? 1 : 0;
        ExpectIntact();
        const auto rows = Invoices();
        if (rows.size() == kStored) {
            ++none;
        } else {
            ++all;
            ASSERT_EQ(rows.size(), kStored + kNew) << "killed " << at << " ms after " << anchor.toStdString();
            QSet<QString> numbers;
            for (const auto& row : rows)
                numbers.insert(row.value("INV_NUMBER").ToText());
            ASSERT_EQ(numbers.size(), kStored + kNew);
        }
    }
    std::printf("[ figures  ] %d kills survived (%d inside the transaction): %d left none of the %d new "
                "invoices, %d all of them\n",
                kills, journals, none, kNew, all);
    EXPECT_EQ(kills, kKills) << "runs must be killed before they end on their own";
}

// Registration: each invoice is stored by a statement of its own. Killed at
// any moment during a burst of scans, the desk leaves whole rows only, of
// the invoices it scanned first, and every invoice it reported as stored.
TEST_F(CrashTest, AKilledBurstOfScansLeavesOnlyWholeInvoices)
{
    constexpr int kScans = 120;
    KeepAsPristine();
    QFile payloads(FilePath("payloads.txt"));
    ASSERT_TRUE(payloads.open(QIODevice::WriteOnly));
    for (int n = 0; n < kScans; ++n)
        payloads.write(QStringLiteral("01,04,%1,%2,%3.50,20240105,12345678901234567890\n")
                           .arg(kCode, Number(n))
                           .arg(n)
                           .toLatin1());
    payloads.close();
    const QStringList arguments = {QStringLiteral("register"), m_database->Path(), payloads.fileName()};

    qint64 burst = 0;
    {
        DeskProcess desk(QStringLiteral(KESTRIN_TEST_DESK));
        ASSERT_TRUE(desk.Start(arguments));
        ASSERT_TRUE(desk.WaitForLine(QStringLiteral("DONE"), 120000)) << desk.Errors().toStdString();
        burst = desk.FirstTime(QStringLiteral("DONE")) - desk.FirstTime(QStringLiteral("READY"));
        ASSERT_EQ(Invoices().size(), kScans);
        std::printf("[ figures  ] whole burst of %d scans: %lld ms\n", kScans, burst);
    }

    const QString today = engine::Variant::FromDate(QDate::currentDate()).ToText();
    int kills = 0;
    int rowsCompared = 0;
    for (int run = 0; kills < kKills && run < 2 * kKills; ++run) {
        RestorePristine();
        // At a random moment of a random scan of the burst.
        const qint64 scan = Uniform(0, kScans - 1);
        const QString anchor = scan == 0 ? QStringLiteral("READY") : QStringLiteral("STATE\t%1\t").arg(scan - 1);
        DeskProcess desk(QStringLiteral(KESTRIN_TEST_DESK));
        if (!RunAndKill(desk, arguments, anchor, Uniform(0, 2 * burst / kScans)))
            continue;
        ++kills;
        ExpectIntact();
        int reported = 0;
        for (const QString& state : desk.Texts(QStringLiteral("STATE")))
            reported += state.endsWith(QStringLiteral("报销入库成功！")) ? 1 : 0;

        const auto rows = Invoices();
        QSet<int> scanned;
        for (const auto& row : rows) {
            const int n = row.value("INV_NUMBER").ToText().toInt() - 50000000;
            scanned.insert(n);
            const QStringList expected = {QStringLiteral("01"), QStringLiteral("04"), kCode,
                                          QStringLiteral("%1.50").arg(n),
                                          engine::Variant::FromDate(QDate(2024, 1, 5)).ToText(),
                                          QStringLiteral("567890"), QString(), today, QStringLiteral("1"),
                                          QStringLiteral("1"), QString()};
            const QStringList actual = {row.value("INV_TOPTYPE").ToText(), row.value("INV_SUBTYPE").ToText(),
                                        row.value("INV_CODE").ToText(),    row.value("INV_VALUE").ToText(),
                                        row.value("INV_DATE").ToText(),    row.value("INV_CHECKCODE").ToText(),
                                        row.value("INV_CHECKBIT").ToText(), row.value("INV_OPDATE").ToText(),
                                        row.value("INV_STATUS").ToText(),  row.value("IS_AUTOSCAN").ToText(),
                                        row.value("INV_BACKUP").ToText()};
            EXPECT_EQ(actual, expected) << "invoice " << n;
            ++rowsCompared;
        }
        // The first invoices of the burst, without a gap; those the desk
        // reported as stored, and perhaps the one it was storing.
        for (int n = 0; n < rows.size(); ++n)
            EXPECT_TRUE(scanned.contains(n)) << "invoice " << n << " missing before a later one";
        EXPECT_GE(rows.size(), reported);
        EXPECT_LE(rows.size(), reported + 1);
    }
    std::printf("[ figures  ] %d kills survived, %d rows compared column by column\n", kills, rowsCompared);
    EXPECT_EQ(kills, kKills) << "runs must be killed before they end on their own";
}

} // namespace
