#include "store/Statements.h"
#include "store/engine/Connection.h"
#include "store/engine/Variant.h"
#include "tests/support/MainWindowFixture.h"

#include <QDate>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

constexpr DWORD kRed = 0xFFFF0000;

using RegistrationRaceTest = MainWindowFixture;

// Another desk stores the same invoice between this desk's lookup and its
// insert: the lookup finds nothing, the insert waits for the other desk's
// lock and then meets the unique key. The clerk is told it is a duplicate,
// with the other desk's registration date, and sees no engine error.
TEST_F(RegistrationRaceTest, TheDeskThatLosesTheRaceSeesTheDuplicateMessage)
{
    engine::Connection other;
    other.Open(Database().ConnectionString());
    other.BeginTrans();
    other.Execute(Statements::Format(Statements::InsertInvoiceWithDate,
                                     {"01", "10", "011001605111", "80100798", "64.9", "2016-10-18", "380258", "",
                                      "2020-01-02", 1, ""}));
    std::atomic<bool> committed = false;
    std::thread otherDesk([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(1000));
        committed = true;
        other.CommitTrans();
    });

    kit::test::TypeText(Hwnd(), QStringLiteral("01,10,011001605111,80100798,64.9,20161018,85342965681116380258"));
    const bool committedBeforeEnter = committed;
    kit::test::PressKey(Hwnd(), VK_RETURN);
    const bool committedAfterEnter = committed;
    otherDesk.join();

    ASSERT_FALSE(committedBeforeEnter) << "the lookup must run while the other desk's row is uncommitted";
    EXPECT_TRUE(committedAfterEnter) << "the insert waits for the other desk's lock";
    const QString otherDate = engine::Variant::FromDate(QDate(2020, 1, 2)).ToText();
    EXPECT_EQ(Window().State(), QStringLiteral("发票已存在,入库日期【%1】").arg(otherDate));
    EXPECT_EQ(StateColor(), kRed);
    EXPECT_TRUE(Database().Messages().isEmpty()) << Database().Messages().join('\n').toStdString();
    EXPECT_EQ(Database().ReadRows(QStringLiteral("select * from INVOICE")).size(), 1);
}

} // namespace
