// The query page of a desk whose register lies on the PostgreSQL server.
#include "tests/desks/ServerDeskFixture.h"

#include "backup/BackupField.h"
#include "store/engine/Variant.h"
#include "ui/kit/CListUI.h"
#include "ui/kit/KitTestSupport.h"

#include <QDate>

namespace {

QString DateAsShown(const QString& isoDate)
{
    return isoDate.isEmpty() ? QString() : engine::Variant::FromDate(QDate::fromString(isoDate, Qt::ISODate)).ToText();
}

class ServerQueryTest : public ServerDeskFixture {
protected:
    void SetUp() override
    {
        ServerDeskFixture::SetUp();
        ASSERT_TRUE(Click("query"));
    }

    // Invoice n with its invoice date (empty for none), status and remark.
    void StoreInvoice(int n, const QString& date, const QString& status = QStringLiteral("1"),
                      const QString& remark = QString())
    {
        QStringList fields = Invoice(n);
        fields[BackupDate] = date;
        fields[BackupStatus] = status;
        Store(fields, remark);
    }


    static QString Number(int n) { return Invoice(n).at(BackupNumber); }

    int StoredCount(int n) { return static_cast<int>(Rows(Invoice(n).at(BackupCode), Number(n)).size()); }
};

TEST_F(ServerQueryTest, DateRangesIncludeBothEndsAndLeaveUndatedAndUnregisteredInvoicesOut)
{
    // Stored in date order, so that the server's row order is the same
    // whether it reads the table or the date index.
    StoreInvoice(1, "2024-02-29");
    StoreInvoice(2, "2024-03-01", "1", QStringLiteral("张三 午餐"));
    StoreInvoice(3, "2024-03-15");
    StoreInvoice(4, "2024-03-15", "0");
    StoreInvoice(5, "2024-03-31");
    StoreInvoice(6, "2024-04-01");
    StoreInvoice(7, "");

    struct Case {
        QString start;
        QString end;
        QList<int> invoices;
    };
    const Case cases[] = {
        {"", "", {1, 2, 3, 5, 6, 7}},
        {"2024-03-01", "", {2, 3, 5, 6}},
        {"", "2024-03-01", {1, 2}},
        {"2024-03-15", "2024-03-15", {3}},
        {"2024-03-01", "2024-03-31", {2, 3, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.start + " .. " + c.end).toStdString());
        EXPECT_EQ(Query(c.start, c.end), "");
        QStringList numbers;
        QStringList rows;
        for (int n : c.invoices) {
            rows << QString::number(rows.size());
            numbers << Number(n);
        }
        EXPECT_EQ(Column(0), rows);
        EXPECT_EQ(Column(2), numbers);
    }

    ASSERT_EQ(Query("2024-03-01", "2024-03-01"), "");
    const QStringList second = {"0", "144031900111", Number(2), "102.50", DateAsShown("2024-03-01"),
                                DateAsShown("2024-04-01"), QStringLiteral("增值税电子普通发票"),
                                QStringLiteral("张三 午餐"), "12345678901234567890"};
    for (int column = 0; column < second.size(); ++column)
        EXPECT_EQ(List().GetItemAt(0)->GetText(column), second.at(column)) << column;

    EXPECT_EQ(Query("2025-01-01", ""), QStringLiteral("未查询到符合条件的发票信息！"));
    EXPECT_EQ(List().GetCount(), 0);
    EXPECT_TRUE(Database().Messages().isEmpty()) << Database().Messages().join('\n').toStdString();
}

// The listed invoice leaves the server; one that another desk deleted
// meanwhile simply leaves the list.
TEST_F(ServerQueryTest, DeletionRemovesTheInvoiceFromTheServerAndTheList)
{
    for (int n = 1; n <= 4; ++n)
        StoreInvoice(n, QStringLiteral("2024-03-0%1").arg(n));
    ASSERT_EQ(Query("", ""), "");
    ASSERT_EQ(List().GetCount(), 4);

    EXPECT_EQ(DeleteRow(1), "");
    EXPECT_EQ(StoredCount(2), 0);
    EXPECT_EQ(Column(0), QStringList({"0", "2", "3"}));

    Database().Run(QStringLiteral("Delete * from INVOICE where INV_NUMBER = '%1'").arg(Number(4)));
    EXPECT_EQ(DeleteRow(2), "");
    EXPECT_EQ(Column(0), QStringList({"0", "2"}));

    EXPECT_EQ(Database().ReadRows("select * from INVOICE").size(), 2);
    EXPECT_EQ(StoredCount(1), 1);
    EXPECT_EQ(StoredCount(3), 1);
    EXPECT_TRUE(Database().Messages().isEmpty()) << Database().Messages().join('\n').toStdString();

    ASSERT_EQ(Query("", ""), "");
    EXPECT_EQ(Column(2), QStringList({Number(1), Number(3)}));
}

} // namespace
