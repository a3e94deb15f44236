#include "store/Statements.h"
#include "store/engine/ConnectionString.h"

#include <gtest/gtest.h>

using engine::ConnectionString;

TEST(ConnectionStringTest, ReadsTheProgramsConnectionString)
{
    const auto parsed = ConnectionString::Parse(Statements::ConnectionString(QStringLiteral("/opt/kestrin/invoice.ss")));
    EXPECT_EQ(parsed.Value(QStringLiteral("provider")), QStringLiteral("Microsoft.Jet.OLEDB.4.0"));
    EXPECT_EQ(parsed.Value(QStringLiteral("Data Source")), QStringLiteral("/opt/kestrin/invoice.ss"));
    EXPECT_EQ(parsed.Value(QStringLiteral("JET OLEDB:DATABASE PASSWORD")), QStringLiteral("wzqp"));
    EXPECT_EQ(parsed.Value(QStringLiteral("Persist Security Info")), QStringLiteral("False"));
    EXPECT_FALSE(parsed.Contains(QStringLiteral("File Name")));
}

TEST(ConnectionStringTest, PathsWithSeparatorsOrQuotesSurviveTheRoundTrip)
{
    const QString paths[] = {
        QStringLiteral("/tmp/a;b/invoice.ss"),
        QStringLiteral("/tmp/\"q\"/invoice.ss"),
        QStringLiteral("\"/tmp/lead quote"),
        QStringLiteral("/tmp/it's here/发票 invoice.ss"),
        QStringLiteral(" /tmp/leading blank"),
    };
    for (const QString& path : paths) {
        SCOPED_TRACE(qPrintable(path));
        const auto parsed = ConnectionString::Parse(Statements::ConnectionString(path));
        EXPECT_EQ(parsed.Value(QStringLiteral("Data Source")), path);
        EXPECT_EQ(parsed.Value(QStringLiteral("Jet OLEDB:Database Password")), QStringLiteral("wzqp"));
    }
}

TEST(ConnectionStringTest, BlanksAroundKeywordsAndEmptyPartsAreIgnored)
{
    const auto parsed = ConnectionString::Parse(QStringLiteral(";; Provider = SQLCipher ;junk; Data Source='x;y'"));
    EXPECT_EQ(parsed.Value(QStringLiteral("Provider")), QStringLiteral("SQLCipher"));
    EXPECT_EQ(parsed.Value(QStringLiteral("data source")), QStringLiteral("x;y"));
}
