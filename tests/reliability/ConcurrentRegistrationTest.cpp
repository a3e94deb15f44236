#include "store/Statements.h"
#include "store/engine/Connection.h"
#include "store/engine/Variant.h"
#include "tests/support/DeskProcess.h"
#include "tests/support/ScannedInvoice.h"
#include "tests/support/TempInvoiceDatabase.h"

#include <QDate>
#include <QFile>
#include <QMap>
#include <QSet>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

const QString kStored = QStringLiteral("报销入库成功！");

using Invoice = ScannedInvoice;

QList<Invoice> Invoices(const QString& code, int first, int count)
{
    QList<Invoice> invoices;
    for (int i = 0; i < count; ++i)
        invoices.append({code, QString::number(first + i)});
    return invoices;
}

// Every invoice a desk scanned, with the state label it showed after it.
QMap<QString, QString> Outcomes(DeskProcess& desk, const QList<Invoice>& scanned)
{
    QMap<QString, QString> outcomes;
    for (const QString& text : desk.Texts(QStringLiteral("STATE"))) {
        const qsizetype tab = text.indexOf(QLatin1Char('\t'));
        outcomes.insert(scanned.value(text.left(tab).toInt()).Key(), text.mid(tab + 1));
    }
    return outcomes;
}

// Two desks register into one database file at once: the same invoices in
// the same order, then invoices of their own, while a third program holds
// the write lock now and then. Every invoice is
// stored exactly once; of the two desks that scanned the same invoice, one
// stores it and the other is told it is a duplicate registered today; no
// desk shows an engine error.
TEST(ConcurrentRegistrationTest, TwoDesksStoreEveryInvoiceExactlyOnce)
{
    TempInvoiceDatabase database(TempInvoiceDatabase::Connect::No);
    ASSERT_TRUE(database.IsValid()) << database.Error().toStdString();

    const QList<Invoice> shared = Invoices(QStringLiteral("144031900111"), 50000000, 150);
    const QList<Invoice> ownA = Invoices(QStringLiteral("244031900111"), 60000000, 50);
    const QList<Invoice> ownB = Invoices(QStringLiteral("344031900111"), 70000000, 50);
    const QList<Invoice> scannedA = shared + ownA;
    const QList<Invoice> scannedB = shared + ownB;
    const QString go = database.Directory() + QStringLiteral("/go");
    DeskProcess deskA(QStringLiteral(KESTRIN_TEST_DESK));
    DeskProcess deskB(QStringLiteral(KESTRIN_TEST_DESK));
    ASSERT_TRUE(deskA.Start({QStringLiteral("register"), database.Path(),
                             WritePayloadFile(database.Directory() + QStringLiteral("/a.txt"), scannedA), go}));
    ASSERT_TRUE(deskB.Start({QStringLiteral("register"), database.Path(),
                             WritePayloadFile(database.Directory() + QStringLiteral("/b.txt"), scannedB), go}));
    ASSERT_TRUE(deskA.WaitForLine(QStringLiteral("READY"), 60000)) << deskA.Errors().toStdString();
    ASSERT_TRUE(deskB.WaitForLine(QStringLiteral("READY"), 60000)) << deskB.Errors().toStdString();

    QFile(go).open(QIODevice::WriteOnly);
    // A third program takes the write lock for a second and a half, five
    // times while the desks scan the shared invoices. Both desks wait for
    // it (the one ahead in its insert, the other one catching up to the
    // same invoice, which its lookup cannot find yet), then race for that
    // invoice when the lock is released.
    {
        engine::Connection other;
        other.Open(database.ConnectionString());
        for (int hold = 0; hold < 5; ++hold) {
            const qsizetype next = deskA.Texts(QStringLiteral("STATE")).size() + 15;
            if (next >= shared.size() || !deskA.WaitForLine(QStringLiteral("STATE\t%1\t").arg(next), 30000))
                break;
            other.BeginTrans();
            std::this_thread::sleep_for(std::chrono::milliseconds(1500));
            other.CommitTrans();
        }
    }
    ASSERT_TRUE(deskA.WaitForFinished(180000));
    ASSERT_TRUE(deskB.WaitForFinished(180000));
    EXPECT_TRUE(deskA.ExitedNormally()) << deskA.Errors().toStdString();
    EXPECT_TRUE(deskB.ExitedNormally()) << deskB.Errors().toStdString();

    EXPECT_EQ(deskA.Texts(QStringLiteral("MESSAGE")), QStringList());
    EXPECT_EQ(deskB.Texts(QStringLiteral("MESSAGE")), QStringList());
    const QMap<QString, QString> outcomesA = Outcomes(deskA, scannedA);
    const QMap<QString, QString> outcomesB = Outcomes(deskB, scannedB);
    ASSERT_EQ(outcomesA.size(), scannedA.size());
    ASSERT_EQ(outcomesB.size(), scannedB.size());

    const QString duplicate = QStringLiteral("发票已存在,入库日期【%1】")
                                  .arg(engine::Variant::FromDate(QDate::currentDate()).ToText());
    int storedByA = 0;
    for (const Invoice& invoice : shared) {
        const QString a = outcomesA.value(invoice.Key());
        const QString b = outcomesB.value(invoice.Key());
        const bool oneStoredOneRefused = (a == kStored && b == duplicate) || (a == duplicate && b == kStored);
        EXPECT_TRUE(oneStoredOneRefused) << invoice.Key().toStdString() << ": " << a.toStdString() << " / "
                                         << b.toStdString();
        storedByA += a == kStored ? 1 : 0;
    }
    for (const Invoice& invoice : ownA)
        EXPECT_EQ(outcomesA.value(invoice.Key()), kStored) << invoice.Key().toStdString();
    for (const Invoice& invoice : ownB)
        EXPECT_EQ(outcomesB.value(invoice.Key()), kStored) << invoice.Key().toStdString();

    QMap<QString, int> stored;
    for (const auto& row : database.ReadRows(QStringLiteral("select * from INVOICE")))
        ++stored[row.value("INV_CODE").ToText() + QLatin1Char('/') + row.value("INV_NUMBER").ToText()];
    EXPECT_EQ(stored.size(), shared.size() + ownA.size() + ownB.size());
    for (const QList<Invoice>* list : {&shared, &ownA, &ownB}) {
        for (const Invoice& invoice : *list)
            EXPECT_EQ(stored.value(invoice.Key()), 1) << invoice.Key().toStdString();
    }
    int longestEnter = 0;
    for (DeskProcess* desk : {&deskA, &deskB}) {
        for (const QString& text : desk->Texts(QStringLiteral("ENTER")))
            longestEnter = qMax(longestEnter, text.section(QLatin1Char('\t'), 1).toInt());
    }
    std::printf("[ figures  ] %lld shared invoices: desk A stored %d, desk B %lld; %d rows compared; "
                "longest wait for Enter %d ms\n",
                static_cast<long long>(shared.size()), storedByA, static_cast<long long>(shared.size() - storedByA),
                static_cast<int>(stored.size()), longestEnter);
}

} // namespace
