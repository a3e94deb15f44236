#include "tests/support/MainWindowFixture.h"

#include "store/engine/Variant.h"
#include "ui/kit/CListUI.h"
#include "ui/kit/KitTestSupport.h"

#include <QDate>

#include <memory>
#include <optional>

namespace {

const QString kReversedRange = QStringLiteral("日期有误，截止日期不能早于起始日期！");
const QString kNothingFound = QStringLiteral("未查询到符合条件的发票信息！");
const QString kTypeName = QStringLiteral("增值税电子普通发票");

struct StoredInvoice {
    QString code;
    QString number;
    QString date; // yyyy-mm-dd, empty for none
    QString status = QStringLiteral("1");
    std::optional<QString> backup = QStringLiteral("差旅");
    QString value = QStringLiteral("100.00");
    QString opDate = QStringLiteral("2024-06-30");
    QString checkCode = QStringLiteral("123456");
};

// A date as the database gives it back in this locale.
QString DateAsShown(const QString& isoDate)
{
    return isoDate.isEmpty() ? QString() : engine::Variant::FromDate(QDate::fromString(isoDate, Qt::ISODate)).ToText();
}

class QueryTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        ASSERT_TRUE(Click("query"));
    }

    void Store(const StoredInvoice& invoice)
    {
        const auto quoted = [](const QString& text) {
            return QLatin1Char('\'') + QString(text).replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
        };
        QString columns = QStringLiteral("INV_CODE, INV_NUMBER, INV_VALUE, INV_OPDATE, INV_STATUS, INV_CHECKCODE");
        QString values = QStringList{quoted(invoice.code), quoted(invoice.number), quoted(invoice.value),
                                     QLatin1Char('#') + invoice.opDate + QLatin1Char('#'), quoted(invoice.status),
                                     quoted(invoice.checkCode)}
                             .join(QStringLiteral(", "));
        if (!invoice.date.isEmpty()) {
            columns += QStringLiteral(", INV_DATE");
            values += QStringLiteral(", #%1#").arg(invoice.date);
        }
        if (invoice.backup) {
            columns += QStringLiteral(", INV_BACKUP");
            values += QStringLiteral(", ") + quoted(*invoice.backup);
        }
        Database().Run(QStringLiteral("INSERT INTO INVOICE(%1) VALUES(%2)").arg(columns, values));
    }

    void StoreNumbered(int count)
    {
        for (int i = 0; i < count; ++i)
            Store({QStringLiteral("4403%1").arg(i), QStringLiteral("0000000%1").arg(i), QStringLiteral("2024-03-0%1").arg(i + 1)});
    }

    int StoredCount(const QString& code)
    {
        return static_cast<int>(
            Database().ReadRows(QStringLiteral("select * from INVOICE where INV_CODE = '%1'").arg(code)).size());
    }

    void ExpectNoDatabaseMessage()
    {
        EXPECT_TRUE(Database().Messages().isEmpty()) << Database().Messages().join('\n').toStdString();
    }
};

TEST_F(QueryTest, WithoutDatesEveryRegisteredInvoiceIsListedInNineColumnsNumberedFromZero)
{
    Store({"144031900111", "00000001", "2024-03-01"});
    Store({"144031900112", "00000002", "2024-03-02", "0"});
    Store({"", "23442000000014209621", "2023-02-15", "1", QStringLiteral("张三 午餐"), "112", "2024-07-01", ""});
    Store({"144031900113", "00000003", "", "1"});
    Store({"144031900114", "00000004", "2024-03-04", "2"});
    Store({"144031900115", "00000005", "2024-01-31", "1", std::nullopt, "9.90", "2024-02-01", "654321"});

    EXPECT_EQ(Query(), "");
    ExpectNoDatabaseMessage();

    ASSERT_EQ(List().GetCount(), 4);
    EXPECT_EQ(Column(0), QStringList({"0", "1", "2", "3"}));
    EXPECT_EQ(Column(1), QStringList({"144031900111", "", "144031900113", "144031900115"}));
    EXPECT_EQ(Column(6), QStringList(4, kTypeName));

    const QStringList digital = {"1", "", "23442000000014209621", "112", DateAsShown("2023-02-15"),
                               DateAsShown("2024-07-01"), kTypeName, "张三 午餐", ""};
    const QStringList last = {"3", "144031900115", "00000005", "9.90", DateAsShown("2024-01-31"),
                              DateAsShown("2024-02-01"), kTypeName, "", "654321"};
    for (int column = 0; column < 9; ++column) {
        EXPECT_EQ(List().GetItemAt(1)->GetText(column), digital.at(column)) << column;
        EXPECT_EQ(List().GetItemAt(3)->GetText(column), last.at(column)) << column;
    }
    EXPECT_EQ(List().GetItemAt(2)->GetText(4), ""); // stored without an invoice date

    const auto& result = Window().QueryResult();
    ASSERT_EQ(result.size(), 4u);
    EXPECT_EQ(result.at(3).Code, "144031900115");
    EXPECT_EQ(result.at(3).Backup, "");
    EXPECT_EQ(result.at(0).Backup, "差旅");
}

TEST_F(QueryTest, DateRangesIncludeBothEndsAndLeaveUndatedInvoicesOut)
{
    Store({"A", "1", "2024-02-29"});
    Store({"B", "2", "2024-03-01"});
    Store({"C", "3", "2024-03-15"});
    Store({"D", "4", "2024-03-31"});
    Store({"E", "5", "2024-04-01"});
    Store({"F", "6", ""});
    Store({"G", "7", "2024-03-15", "0"});

    struct Case {
        QString start;
        QString end;
        QStringList codes;
    };
    const Case cases[] = {
        {"2024-03-01", "", {"B", "C", "D", "E"}},
        {"", "2024-03-01", {"A", "B"}},
        {"2024-03-15", "2024-03-15", {"C"}},
        {"2024-03-01", "2024-03-31", {"B", "C", "D"}},
        {"2024-3-2", "20240331", {"C", "D"}}, // the field shows other forms as yyyy-mm-dd
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.start + " .. " + c.end).toStdString());
        EXPECT_EQ(Query(c.start, c.end), "");
        EXPECT_EQ(Column(1), c.codes);
        QStringList numbers;
        for (int i = 0; i < c.codes.size(); ++i)
            numbers << QString::number(i);
        EXPECT_EQ(Column(0), numbers);
    }
    ExpectNoDatabaseMessage();
}

TEST_F(QueryTest, AReversedRangeIsRefusedAndEmptiesTheList)
{
    StoreNumbered(3);
    ASSERT_EQ(Query(), "");
    ASSERT_EQ(List().GetCount(), 3);

    EXPECT_EQ(Query("2024-03-02", "2024-03-01"), kReversedRange);
    EXPECT_EQ(List().GetCount(), 0);
    EXPECT_TRUE(Window().QueryResult().empty());
    ExpectNoDatabaseMessage();
}

TEST_F(QueryTest, NoMatchShowsItsPromptAndEmptiesTheList)
{
    EXPECT_EQ(Query(), kNothingFound); // empty database

    StoreNumbered(3);
    ASSERT_EQ(Query(), "");
    ASSERT_EQ(List().GetCount(), 3);
    EXPECT_EQ(Query("2025-01-01", ""), kNothingFound);
    EXPECT_EQ(List().GetCount(), 0);
    EXPECT_TRUE(Window().QueryResult().empty());
    ExpectNoDatabaseMessage();
}

TEST_F(QueryTest, DeletingAMiddleRowRemovesTheInvoiceAndLeavesAGap)
{
    StoreNumbered(5);
    Store({"44'03", "0000'9", "2024-03-09"}); // apostrophes stay inside their literals
    ASSERT_EQ(Query(), "");

    EXPECT_EQ(DeleteRow(2), "");
    EXPECT_EQ(Column(0), QStringList({"0", "1", "3", "4", "5"}));
    EXPECT_EQ(StoredCount("44032"), 0);
    EXPECT_EQ(StoredCount("44031"), 1);

    EXPECT_EQ(DeleteRow(4), "");
    EXPECT_EQ(Column(0), QStringList({"0", "1", "3", "4"}));
    EXPECT_EQ(StoredCount("44''03"), 0);
    EXPECT_EQ(Database().ReadRows("select * from INVOICE").size(), 4);
    ExpectNoDatabaseMessage();

    // The next query numbers the rows afresh.
    ASSERT_EQ(Query(), "");
    EXPECT_EQ(Column(0), QStringList({"0", "1", "2", "3"}));
    EXPECT_EQ(Column(1), QStringList({"44030", "44031", "44033", "44034"}));
}

TEST_F(QueryTest, TwoStoredRowsWithTheSameCodeAndNumberGoTogetherButLeaveTheListOneByOne)
{
    Database().Run("drop index UX_INVOICE_CODE_NUMBER");
    Store({"144031900111", "00000001", "2024-03-01"});
    Store({"144031900222", "00000002", "2024-03-02"});
    Store({"144031900222", "00000002", "2024-03-03"});
    ASSERT_EQ(Query(), "");
    ASSERT_EQ(Column(1), QStringList({"144031900111", "144031900222", "144031900222"}));

    // Deleting the later of the two removes both stored rows, but the first
    // listed one from the list.
    EXPECT_EQ(DeleteRow(2), "");
    EXPECT_EQ(StoredCount("144031900222"), 0);
    EXPECT_EQ(Column(0), QStringList({"0", "2"}));
    EXPECT_EQ(Column(4), QStringList({DateAsShown("2024-03-01"), DateAsShown("2024-03-03")}));

    // The one left goes from the list; the statement finds nothing more.
    EXPECT_EQ(DeleteRow(1), "");
    EXPECT_EQ(Column(0), QStringList({"0"}));
    EXPECT_EQ(StoredCount("144031900111"), 1);
    ExpectNoDatabaseMessage();
}

TEST_F(QueryTest, WithoutASelectedRowDeletingDoesNothing)
{
    StoreNumbered(3);
    EXPECT_EQ(ClickAnsweringPrompt("querydeletebtn"), ""); // empty list

    ASSERT_EQ(Query(), "");
    ASSERT_EQ(List().GetCurSel(), -1);
    EXPECT_EQ(ClickAnsweringPrompt("querydeletebtn"), "");
    EXPECT_EQ(List().GetCount(), 3);

    // Clearing empties the fields and the list; the result stays, but no row
    // can be chosen for deletion.
    ASSERT_TRUE(TypeInto("startdate", "2024-03-01"));
    ASSERT_TRUE(Click("queryclearbtn"));
    EXPECT_EQ(Text("startdate"), "");
    EXPECT_EQ(List().GetCount(), 0);
    EXPECT_EQ(Window().QueryResult().size(), 3u);
    EXPECT_EQ(ClickAnsweringPrompt("querydeletebtn"), "");

    EXPECT_EQ(Database().ReadRows("select * from INVOICE").size(), 3);
    ExpectNoDatabaseMessage();
}

TEST_F(QueryTest, AFailedDeletionKeepsTheRowAndTheInvoice)
{
    StoreNumbered(3);
    ASSERT_EQ(Query(), "");
    Database().Run("CREATE TRIGGER keep_invoices BEFORE DELETE ON INVOICE BEGIN SELECT RAISE(ABORT, \"kept\"); END");

    EXPECT_EQ(DeleteRow(1), "");
    EXPECT_EQ(Database().Messages().size(), 1);
    EXPECT_EQ(Column(0), QStringList({"0", "1", "2"}));
    EXPECT_EQ(Window().QueryResult().size(), 3u);
    EXPECT_EQ(StoredCount("44031"), 1);
}

TEST_F(QueryTest, AnErrorWhileReadingRowsIsShownOnceAndLeavesNoResult)
{
    StoreNumbered(2);
    ASSERT_EQ(Query(), "");
    ASSERT_EQ(List().GetCount(), 2);

    // A table without the remark column: reading the first row fails. It is
    // made through the window's own connection, which then knows the new
    // columns.
    CAdoConnection& connection = Database().Connection();
    ASSERT_TRUE(connection.Execute("drop table INVOICE"));
    ASSERT_TRUE(connection.Execute("CREATE TABLE INVOICE (INV_CODE TEXT, INV_NUMBER TEXT, INV_VALUE TEXT, "
                                   "INV_DATE DATETIME, INV_CHECKCODE TEXT, INV_OPDATE DATETIME, INV_STATUS TEXT)"));
    ASSERT_TRUE(connection.Execute("INSERT INTO INVOICE(INV_CODE, INV_NUMBER, INV_STATUS) VALUES('1', '2', '1')"));

    EXPECT_EQ(Query(), "");
    EXPECT_EQ(Database().Messages().size(), 1);
    EXPECT_EQ(List().GetCount(), 0);
    EXPECT_TRUE(Window().QueryResult().empty());
}

// A fully digital e-invoice has no code; it is listed and deleted by its
// empty code and 20-digit number like any other.
TEST_F(QueryTest, DigitalInvoicesWithoutACodeAreListedAndDeleted)
{
    Store({"", "23442000000014209621", "2023-02-15"});
    Store({"", "23442000000014209622", "2023-02-16"});
    ASSERT_EQ(Query("2023-02-01", "2023-02-28"), "");
    EXPECT_EQ(Column(1), QStringList({"", ""}));
    EXPECT_EQ(Column(2), QStringList({"23442000000014209621", "23442000000014209622"}));

    EXPECT_EQ(DeleteRow(0), "");
    EXPECT_EQ(Column(2), QStringList({"23442000000014209622"}));
    EXPECT_EQ(StoredCount(""), 1);
    ExpectNoDatabaseMessage();
}

} // namespace
