#include "store/engine/Dialect.h"
#include "store/engine/Variant.h"

#include <gtest/gtest.h>

using engine::Dialect;
using engine::Variant;

namespace {

struct LocaleCase {
    QLocale locale;
    const char* date;
    const char* dateTime;
};

} // namespace

TEST(VariantTest, DatesReadInTheLocaleShortFormWithFourDigitYear)
{
    const Variant date = Variant::FromDate(QDate(2019, 1, 2));
    const Variant dateTime = Variant::FromDateTime(QDateTime(QDate(2019, 1, 2), QTime(15, 4, 5), Qt::UTC));
    const LocaleCase cases[] = {
        {QLocale::c(), "2019-01-02", "2019-01-02 15:04:05"},
        {QLocale(QStringLiteral("zh_CN")), "2019/1/2", "2019/1/2 15:04:05"},
        {QLocale(QStringLiteral("en_US")), "1/2/2019", "1/2/2019 15:04:05"},
        {QLocale(QStringLiteral("de_DE")), "02.01.2019", "02.01.2019 15:04:05"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(qPrintable(c.locale.name()));
        EXPECT_EQ(date.ToText(c.locale), QString::fromUtf8(c.date));
        EXPECT_EQ(dateTime.ToText(c.locale), QString::fromUtf8(c.dateTime));
        // What a reader wrote down goes back into a date literal unchanged.
        EXPECT_EQ(Dialect::ParseDateLiteral(date.ToText(c.locale)), date.ToDateTime());
        EXPECT_EQ(Dialect::ParseDateLiteral(dateTime.ToText(c.locale)), dateTime.ToDateTime());
    }
}

TEST(VariantTest, TypedValuesAndText)
{
    EXPECT_TRUE(Variant().IsNull());
    EXPECT_EQ(Variant().ToText(), QString());
    EXPECT_FALSE(Variant::FromText(QString()).IsNull());
    EXPECT_EQ(Variant::FromInteger(1).ToText(), QStringLiteral("1"));
    EXPECT_EQ(Variant::FromText(QStringLiteral("1234.50")).ToText(), QStringLiteral("1234.50"));

    const Variant date = Variant::FromDate(QDate(2019, 12, 31));
    EXPECT_TRUE(date.IsDate());
    EXPECT_EQ(date.ToDateTime().date(), QDate(2019, 12, 31));
    EXPECT_FALSE(Variant::FromText(QStringLiteral("2019-12-31")).IsDate());
    EXPECT_FALSE(Variant::FromText(QStringLiteral("2019-12-31")).ToDateTime().isValid());
}
