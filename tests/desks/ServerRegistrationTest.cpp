// Registration at a desk whose register lies on the PostgreSQL server.
#include "tests/desks/ServerDeskFixture.h"

#include "store/Statements.h"
#include "store/engine/Connection.h"
#include "store/engine/Variant.h"

#include <QDate>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

constexpr DWORD kRed = 0xFFFF0000;
constexpr DWORD kGreen = 0xFF008000;

using ServerRegistrationTest = ServerDeskFixture;

TEST_F(ServerRegistrationTest, AScannedInvoiceIsStoredOnceThenRefusedWithItsDay)
{
    struct Scanned {
        const char* payload;
        const char* code;
        const char* number;
        const char* value;
        QDate date;
        const char* checkBit;
    };
    const Scanned scans[] = {
        {"01,04,4200161350,00015045,165106.00,20160501,48114255542168294433,DBFE,", "4200161350", "00015045",
         "165106.00", QDate(2016, 5, 1), "DBFE"},
        {"01,32,,23442000000014209621,112,20230215,,74AE", "", "23442000000014209621", "112", QDate(2023, 2, 15),
         "74AE"},
    };
    for (const Scanned& s : scans) {
        SCOPED_TRACE(s.payload);
        Scan(s.payload);
        EXPECT_EQ(Window().State(), kStored);
        EXPECT_EQ(StateColor(), kGreen);
        const auto rows = Rows(s.code, s.number);
        ASSERT_EQ(rows.size(), 1);
        const auto& row = rows.first();
        EXPECT_EQ(row["INV_VALUE"].ToText(), s.value);
        EXPECT_EQ(row["INV_DATE"].ToDateTime().date(), s.date);
        EXPECT_EQ(row["INV_CHECKBIT"].ToText(), s.checkBit);
        EXPECT_EQ(row["INV_OPDATE"].ToDateTime(), QDateTime(QDate::currentDate(), QTime(0, 0), Qt::UTC));
        EXPECT_EQ(row["INV_STATUS"].ToText(), "1");
        EXPECT_EQ(row["IS_AUTOSCAN"].ToText(), "1");

        Scan(s.payload);
        EXPECT_EQ(Window().State(), AlreadyStored(QDate::currentDate()));
        EXPECT_EQ(StateColor(), kRed);
        EXPECT_EQ(Rows(s.code, s.number).size(), 1);
    }
    EXPECT_TRUE(Database().Messages().isEmpty()) << Database().Messages().join('\n').toStdString();
}

TEST_F(ServerRegistrationTest, ATypedInvoiceIsStoredAsTypedThenRefused)
{
    const std::pair<const char*, QString> fields[] = {
        {"editCode", "144'031"},        {"editNumber", "O'Neil#1"}, {"editValue", "1'000"},
        {"controlDate", "2024-03-01"}, {"editCheck", "ab'c"},     {"editBackup", "O'Brien -- 'x'); drop 张三"}};
    for (const auto& [name, text] : fields)
        ASSERT_TRUE(TypeInto(name, text)) << name;
    ASSERT_TRUE(Click("insertbtn"));
    EXPECT_EQ(Window().State(), kStored);

    const auto rows = Rows("144'031", "O'Neil#1");
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows.first()["INV_BACKUP"].ToText(), "O'Brien -- 'x'); drop 张三");
    EXPECT_EQ(rows.first()["INV_VALUE"].ToText(), "1'000");
    EXPECT_EQ(rows.first()["INV_CHECKCODE"].ToText(), "ab'c");
    EXPECT_EQ(rows.first()["INV_DATE"].ToDateTime().date(), QDate(2024, 3, 1));
    EXPECT_EQ(rows.first()["IS_AUTOSCAN"].ToText(), "0");

    ASSERT_TRUE(Click("insertbtn"));
    EXPECT_EQ(Window().State(), AlreadyStored(QDate::currentDate()));
    EXPECT_EQ(Database().ReadRows("select * from INVOICE").size(), 1);
    EXPECT_TRUE(Database().Messages().isEmpty()) << Database().Messages().join('\n').toStdString();
}

// Another desk inserts the same invoice and ends its transaction a second
// later. This desk's lookup cannot see the uncommitted row; its insert waits
// on the unique key for the other desk's outcome. Committed: the clerk sees
// the duplicate message with the other desk's day, and no engine error.
// Rolled back: the invoice is this desk's to store.
TEST_F(ServerRegistrationTest, ARaceWithAnotherDeskEndsInOneRowAndTheDuplicateMessage)
{
    struct Case {
        const char* name;
        bool otherCommits;
        QString state;
    };
    const QDate otherDay(2020, 1, 2);
    const Case cases[] = {
        {"the other desk commits", true, AlreadyStored(otherDay)},
        {"the other desk rolls back", false, kStored},
    };
    const QString payload = QStringLiteral("01,10,011001605111,80100798,64.9,20161018,85342965681116380258");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(Database().Connection().Execute(QStringLiteral("Delete * from INVOICE")));
        engine::Connection other;
        other.Open(Database().ConnectionString());
        other.BeginTrans();
        other.Execute(Statements::Format(Statements::InsertInvoiceWithDate,
                                         {"01", "10", "011001605111", "80100798", "64.9", "2016-10-18", "380258",
                                          "", otherDay.toString(Qt::ISODate), 1, "other desk"}));
        std::atomic<bool> ended = false;
        std::thread otherDesk([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(1000));
            ended = true;
            if (c.otherCommits)
                other.CommitTrans();
            else
                other.RollbackTrans();
        });

        kit::test::TypeText(Hwnd(), payload);
        const bool endedBeforeEnter = ended;
        kit::test::PressKey(Hwnd(), VK_RETURN);
        const bool endedAfterEnter = ended;
        otherDesk.join();

        ASSERT_FALSE(endedBeforeEnter) << "the lookup must run while the other desk's row is uncommitted";
        EXPECT_TRUE(endedAfterEnter) << "the insert waits for the other desk's outcome";
        EXPECT_EQ(Window().State(), c.state);
        const auto rows = Rows("011001605111", "80100798");
        ASSERT_EQ(rows.size(), 1);
        EXPECT_EQ(rows.first()["INV_BACKUP"].ToText(), c.otherCommits ? "other desk" : "");
        EXPECT_TRUE(Database().Messages().isEmpty()) << Database().Messages().join('\n').toStdString();
    }
}

} // namespace
