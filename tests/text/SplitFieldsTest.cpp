#include "text/SplitFields.h"

#include <gtest/gtest.h>

namespace {

struct SplitCase {
    const char* name;
    QString text;
    QStringList expected;
};

class SplitFieldsCases : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitFieldsCases, SplitsAsExpected)
{
    const SplitCase& c = GetParam();
    QStringList fields{"stale"};
    ASSERT_TRUE(SplitFields(c.text, ",", fields, 1));
    EXPECT_EQ(fields, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SplitFieldsCases,
    ::testing::Values(
        SplitCase{"Plain", "a,b,c", {"a", "b", "c"}},
        SplitCase{"BlanksTrimmed", " a , b ", {"a", "b"}},
        SplitCase{"EmptyMiddleKept", "a,,c", {"a", "", "c"}},
        SplitCase{"TrailingSeparatorAddsNothing", "a,b,", {"a", "b"}},
        SplitCase{"TrailingBlanksGiveEmptyField", "a,b,  ", {"a", "b", ""}},
        SplitCase{"LoneComma", ",", {""}},
        SplitCase{"LeadingComma", ",a", {"", "a"}},
        SplitCase{"NoComma", "abc", {"abc"}},
        SplitCase{"CarriageReturnTrimmed", "a,b\r", {"a", "b"}},
        SplitCase{"TabsAndNewlinesTrimmed", "\ta\t,\nb\v\f", {"a", "b"}},
        SplitCase{"InnerBlanksKept", "a b, c d ", {"a b", "c d"}},
        SplitCase{"EightFieldsAndClosingComma",
                  "01,04,4200161350,00015045,165106.00,20160501,48114255542168294433,DBFE,",
                  {"01", "04", "4200161350", "00015045", "165106.00", "20160501",
                   "48114255542168294433", "DBFE"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SplitFields, EmptyTextOrSeparatorLeavesListUntouched)
{
    QStringList fields{"kept", "too"};
    EXPECT_FALSE(SplitFields("", ",", fields, 1));
    EXPECT_FALSE(SplitFields("a,b", "", fields, 1));
    EXPECT_EQ(fields, (QStringList{"kept", "too"}));
}

TEST(SplitFields, StepBelowOneStillEnds)
{
    QStringList fields;
    ASSERT_TRUE(SplitFields("a,b", ",", fields, 0));
    EXPECT_EQ(fields, (QStringList{"a", "b"}));
}

} // namespace
