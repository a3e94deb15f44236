#include "store/engine/Dialect.h"
#include "store/engine/EngineError.h"

#include <gtest/gtest.h>

using engine::Dialect;
using engine::EngineError;
using engine::Variant;

namespace {

QDateTime At(int y, int m, int d, int hh = 0, int mm = 0, int ss = 0)
{
    return QDateTime(QDate(y, m, d), QTime(hh, mm, ss), Qt::UTC);
}

struct DateCase {
    const char* literal;
    QDateTime expected;
};

} // namespace

TEST(DialectTest, DateLiteralFormsBecomeDateParameters)
{
    const DateCase cases[] = {
        {"#2019-1-2#", At(2019, 1, 2)},
        {"#2019-01-02#", At(2019, 1, 2)},
        {"#2019/1/2#", At(2019, 1, 2)},
        {"#1/2/2019#", At(2019, 1, 2)}, // month first
        {"#12/31/2019#", At(2019, 12, 31)},
        {"#2.1.2019#", At(2019, 1, 2)}, // day first with dots
        {"# 2019-01-02 #", At(2019, 1, 2)},
        {"#2019-01-02 10:30#", At(2019, 1, 2, 10, 30)},
        {"#2019/1/2 9:05:07#", At(2019, 1, 2, 9, 5, 7)},
        {"#1/2/2019 3:04:05 PM#", At(2019, 1, 2, 15, 4, 5)},
        {"#1/2/2019 12:00:00 AM#", At(2019, 1, 2)},
        {"#2020-02-29#", At(2020, 2, 29)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.literal);
        const auto statement =
            Dialect::Translate(QStringLiteral("select * from t where d >= %1 and x = 1").arg(QLatin1String(c.literal)));
        EXPECT_EQ(statement.Sql(), QStringLiteral("select * from t where d >= ? and x = 1"));
        ASSERT_EQ(statement.Parameters().size(), 1);
        EXPECT_EQ(statement.Parameters().at(0), Variant::FromDateTime(c.expected));
    }
}

TEST(DialectTest, EmptyOrInvalidDateLiteralIsAnErrorWithDescription)
{
    const char* statements[] = {
        "insert into t values(##)",
        "insert into t values(#  #)",
        "insert into t values(#2019-13-45#)",
        "insert into t values(#2019-02-30#)",
        "insert into t values(#abc#)",
        "insert into t values(#19-1-2#)",
        "insert into t values(#2019-01-02 24:00#)",
        "insert into t values(#2019-01-02 13:00 PM#)",
        "insert into t values(#2019-01-02)",      // never closed
        "insert into t values(#2019-01-##02#)",   // holds a '#'
        "insert into t values(#2019'-01-02#)",    // an apostrophe is no part of a date
        "insert into t values(#2019-01-02#, #)",
        "select * from t where d = #２０１９-01-02#", // only ASCII digits
    };
    for (const char* text : statements) {
        SCOPED_TRACE(text);
        try {
            Dialect::Translate(QString::fromUtf8(text));
            ADD_FAILURE() << "accepted";
        } catch (const EngineError& error) {
            EXPECT_FALSE(error.Description().isEmpty());
        }
    }
}

TEST(DialectTest, TextLiteralsBecomeParametersWithDoubledApostrophesUndone)
{
    const auto statement = Dialect::Translate(
        QStringLiteral("insert into t values('O''Brien', 'a#b#', '', '''', 'x'' or ''1''=''1')"));
    EXPECT_EQ(statement.Sql(), QStringLiteral("insert into t values(?, ?, ?, ?, ?)"));
    const QList<Variant> expected = {
        Variant::FromText(QStringLiteral("O'Brien")), Variant::FromText(QStringLiteral("a#b#")),
        Variant::FromText(QString()), Variant::FromText(QStringLiteral("'")),
        Variant::FromText(QStringLiteral("x' or '1'='1")),
    };
    EXPECT_EQ(statement.Parameters(), expected);
}

TEST(DialectTest, UnterminatedTextIsAnError)
{
    EXPECT_THROW(Dialect::Translate(QStringLiteral("select * from t where a = 'x")), EngineError);
    EXPECT_THROW(Dialect::Translate(QStringLiteral("select * from t where a = 'x''")), EngineError);
}

TEST(DialectTest, DeleteStarFromBecomesDeleteFrom)
{
    EXPECT_EQ(Dialect::Translate(QStringLiteral("Delete * from INVOICE where INV_CODE='1'")).Sql(),
              QStringLiteral("DELETE FROM INVOICE where INV_CODE=?"));
    EXPECT_EQ(Dialect::Translate(QStringLiteral("  delete  *FROM invoice")).Sql(),
              QStringLiteral("DELETE FROM invoice"));
    EXPECT_EQ(Dialect::Translate(QStringLiteral("Select * from invoice")).Sql(),
              QStringLiteral("Select * from invoice"));
    // Only the statement's own words are rewritten, never a value.
    const auto insert = Dialect::Translate(QStringLiteral("insert into t values('Delete * from x')"));
    EXPECT_EQ(insert.Parameters().at(0), Variant::FromText(QStringLiteral("Delete * from x")));
}

TEST(DialectTest, QuotedNamesPassThroughUntouched)
{
    const auto statement = Dialect::Translate(QStringLiteral("select \"a'b\", [c#d] from t"));
    EXPECT_EQ(statement.Sql(), QStringLiteral("select \"a'b\", [c#d] from t"));
    EXPECT_TRUE(statement.Parameters().isEmpty());
}

TEST(DialectTest, EachBindingWritesItsOwnParameterMarkers)
{
    const auto statement = Dialect::Translate(QStringLiteral("select * from t where a = 'x' and d < #2019-1-2#"));
    EXPECT_EQ(statement.Sql([](int index) { return QStringLiteral("$%1").arg(index); }),
              QStringLiteral("select * from t where a = $1 and d < $2"));
}

TEST(DialectTest, StoredDatesAreTextThatSortsInTimeOrder)
{
    EXPECT_EQ(Dialect::StorageText(At(2019, 1, 2)), QStringLiteral("2019-01-02"));
    EXPECT_EQ(Dialect::StorageText(At(2019, 1, 2, 7, 8, 9)), QStringLiteral("2019-01-02 07:08:09"));
    EXPECT_EQ(Dialect::ParseStorageText(QStringLiteral("2019-01-02 07:08:09")), At(2019, 1, 2, 7, 8, 9));
    EXPECT_EQ(Dialect::ParseStorageText(QStringLiteral("2019-01-02")), At(2019, 1, 2));
    EXPECT_FALSE(Dialect::ParseStorageText(QStringLiteral("2019-1-2")).has_value());
    EXPECT_FALSE(Dialect::ParseStorageText(QStringLiteral("2019-02-30")).has_value());
    for (const char* text : {"2019-01-02T07:08:09", "2019-01-02 7:08:09 ", "2019-01-02 24:00:00", "2019-01-02 ",
                             "+019-01-02", "2019/01/02", "2019-01-0x", "2019-01-02 07:08:0x"})
        EXPECT_FALSE(Dialect::ParseStorageText(QString::fromLatin1(text)).has_value()) << text;
    EXPECT_LT(Dialect::StorageText(At(2019, 9, 30)), Dialect::StorageText(At(2019, 10, 1)));
    EXPECT_LT(Dialect::StorageText(At(2019, 10, 1)), Dialect::StorageText(At(2019, 10, 1, 0, 0, 1)));
}
