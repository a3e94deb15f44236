// A statement run again with other values reuses what the binding prepared
// for its text: every run must still see its own values, the current schema,
// and leave no lock behind.
#include "store/engine/Connection.h"
#include "store/engine/EngineError.h"
#include "store/engine/Recordset.h"
#include "tests/support/ProviderParameters.h"
#include "tests/support/TempInvoiceDatabase.h"

#include <gtest/gtest.h>

using engine::Connection;
using engine::EngineError;

namespace {

class StatementReuseTest : public ::testing::TestWithParam<engine::ProviderKind> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(database.IsValid()) << qPrintable(database.Error());
        connection.Open(database.ConnectionString());
    }

    QString Insert(int number, const QString& date) const
    {
        return QStringLiteral("insert into invoice(INV_CODE, INV_NUMBER, INV_DATE) values('C', '%1', #%2#)")
            .arg(number)
            .arg(date);
    }

    // The INV_DATE texts of the invoice numbered `number`; empty when none.
    QStringList DatesOf(int number)
    {
        const auto result = connection.Run(
            QStringLiteral("select * from invoice where INV_CODE = 'C' and INV_NUMBER = '%1'").arg(number));
        QStringList dates;
        qsizetype column = 0;
        while (result.Columns.at(column).compare(QStringLiteral("INV_DATE"), Qt::CaseInsensitive) != 0)
            ++column;
        for (const auto& row : result.Rows)
            dates << row.at(static_cast<size_t>(column)).ToDateTime().toString(QStringLiteral("yyyy-MM-dd"));
        return dates;
    }

    TempInvoiceDatabase database{GetParam(), TempInvoiceDatabase::Connect::No};
    Connection connection;
};

} // namespace

INSTANTIATE_TEST_SUITE_P(Providers, StatementReuseTest, kBothProviders, ProviderName);

TEST_P(StatementReuseTest, EachRunSeesItsOwnValues)
{
    connection.BeginTrans();
    for (int i = 1; i <= 30; ++i)
        connection.Execute(Insert(i, QStringLiteral("2020-1-%1").arg(i % 28 + 1)));
    connection.CommitTrans();

    // A refused run leaves the statement fit for the next one.
    EXPECT_THROW(connection.Execute(Insert(7, QStringLiteral("2021-1-1"))), EngineError);
    connection.Execute(Insert(31, QStringLiteral("2021-12-31")));

    // More distinct texts than are kept, so the lookups below are prepared again.
    for (int i = 0; i < 40; ++i)
        connection.Run(QStringLiteral("select %1 as n from config").arg(i));

    for (int i = 1; i <= 30; ++i)
        EXPECT_EQ(DatesOf(i), QStringList{QStringLiteral("2020-01-%1").arg(i % 28 + 1, 2, 10, QLatin1Char('0'))})
            << i;
    EXPECT_EQ(DatesOf(31), QStringList{QStringLiteral("2021-12-31")});
    EXPECT_EQ(DatesOf(32), QStringList());
}

TEST_P(StatementReuseTest, ARepeatedStatementSeesTheCurrentSchema)
{
    const QString select = QStringLiteral("select * from scratch where a = 'x'");
    connection.Execute(QStringLiteral("create table scratch(a varchar(10))"));
    connection.Execute(QStringLiteral("insert into scratch(a) values('x')"));
    EXPECT_EQ(connection.Run(select).Columns, QStringList{QStringLiteral("a")});

    connection.Execute(QStringLiteral("alter table scratch add b varchar(10)"));
    EXPECT_EQ(connection.Run(select).Columns, (QStringList{QStringLiteral("a"), QStringLiteral("b")}));

    connection.Execute(QStringLiteral("drop table scratch"));
    EXPECT_THROW(connection.Run(select), EngineError);

    connection.Execute(QStringLiteral("create table scratch(c varchar(10), a varchar(10))"));
    connection.Execute(QStringLiteral("insert into scratch(c, a) values('y', 'x')"));
    const auto result = connection.Run(select);
    EXPECT_EQ(result.Columns, (QStringList{QStringLiteral("c"), QStringLiteral("a")}));
    ASSERT_EQ(result.Rows.size(), 1u);
    EXPECT_EQ(result.Rows[0][0].ToText(), QStringLiteral("y"));
}

// A statement kept for later must not keep its read lock: another desk
// could never commit while this one holds it.
TEST_P(StatementReuseTest, AKeptStatementHoldsNoLock)
{
    connection.Execute(Insert(1, QStringLiteral("2020-1-1")));
    EXPECT_EQ(DatesOf(1).size(), 1);
    EXPECT_THROW(connection.Execute(Insert(1, QStringLiteral("2020-1-1"))), EngineError);

    Connection other;
    other.Open(database.ConnectionString());
    other.BeginTrans();
    other.Execute(Insert(2, QStringLiteral("2020-1-2")));
    EXPECT_NO_THROW(other.CommitTrans());
    EXPECT_EQ(DatesOf(2).size(), 1);
}
