#include "store/CAdoConnection.h"
#include "store/Statements.h"
#include "store/engine/Connection.h"
#include "tests/support/TempInvoiceDatabase.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

QString Insert(const QString& code, int number)
{
    return Statements::Format(Statements::InsertInvoiceWithDate,
                              {"01", "04", code, QString::number(number), "1.00", "2024-01-05", "123456", "",
                               "2024-05-06", 1, ""});
}

// Another desk writes at a steady pace: it holds the write lock for 95 ms of
// every 100 ms, for seven seconds. Free moments come every 100 ms, so this
// desk's insert gets its turn long before its five seconds of waiting are up.
// (A wait that tries only every 100 ms can meet the lock at every try.)
TEST(LockWaitTest, AWriteGetsItsTurnBetweenAnotherDesksSteadyWrites)
{
    TempInvoiceDatabase database;
    ASSERT_TRUE(database.IsValid()) << database.Error().toStdString();

    std::atomic<bool> writing = false;
    std::atomic<int> otherRows = 0;
    std::thread otherDesk([&] {
        engine::Connection other;
        other.Open(database.ConnectionString());
        const Clock::time_point start = Clock::now();
        for (int period = 0; period < 70; ++period) {
            const Clock::time_point begin = start + milliseconds(100 * period);
            std::this_thread::sleep_until(begin);
            other.BeginTrans();
            writing = true;
            other.Execute(Insert(QStringLiteral("OTHER"), period));
            std::this_thread::sleep_until(begin + milliseconds(95));
            other.CommitTrans();
            ++otherRows;
        }
    });

    while (!writing)
        std::this_thread::sleep_for(milliseconds(1));
    std::this_thread::sleep_for(milliseconds(450));
    const bool stored = database.Connection().Execute(Insert(QStringLiteral("MINE"), 1));
    const int otherRowsMeanwhile = otherRows;
    otherDesk.join();

    EXPECT_TRUE(stored) << database.Messages().join('\n').toStdString();
    EXPECT_LT(otherRowsMeanwhile, 70) << "the insert ran while the other desk was still writing";
    EXPECT_EQ(database.ReadRows(QStringLiteral("select * from INVOICE")).size(), 71u);
}

} // namespace
