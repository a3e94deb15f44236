#include "store/CAdoConnection.h"
#include "store/Statements.h"
#include "tests/support/ProviderParameters.h"
#include "tests/support/TempInvoiceDatabase.h"

#include <gtest/gtest.h>

namespace {

QString Insert(const QString& date)
{
    return Statements::Format(Statements::InsertInvoiceWithDate,
                              {"01", "10", "011001605111", "80100798", "64.9", date, "380258", "",
                               "2024-05-06", 1, ""});
}

class ExecuteInsertTest : public ::testing::TestWithParam<engine::ProviderKind> {
protected:
    void SetUp() override
    {
        m_database = std::make_unique<TempInvoiceDatabase>(GetParam());
        ASSERT_TRUE(m_database->IsValid()) << m_database->Error().toStdString();
    }

    std::unique_ptr<TempInvoiceDatabase> m_database;
};

TEST_P(ExecuteInsertTest, AUniqueKeyRefusalIsReportedInsteadOfShown)
{
    CAdoConnection& connection = m_database->Connection();
    bool alreadyStored = true;
    EXPECT_TRUE(connection.ExecuteInsert(Insert("2016-10-18"), alreadyStored));
    EXPECT_FALSE(alreadyStored);

    EXPECT_FALSE(connection.ExecuteInsert(Insert("2016-10-18"), alreadyStored));
    EXPECT_TRUE(alreadyStored);
    EXPECT_TRUE(m_database->Messages().isEmpty()) << m_database->Messages().join('\n').toStdString();

    // The connection goes on working; plain Execute still shows the refusal.
    EXPECT_FALSE(connection.Execute(Insert("2016-10-18")));
    EXPECT_EQ(m_database->Messages().size(), 1);
    EXPECT_EQ(m_database->ReadRows(QStringLiteral("select * from INVOICE")).size(), 1);
}

TEST_P(ExecuteInsertTest, OtherErrorsAreShownAsExecuteShowsThem)
{
    bool alreadyStored = true;
    // An empty date literal is refused by the engine, not by the unique key.
    EXPECT_FALSE(m_database->Connection().ExecuteInsert(Insert(QString()), alreadyStored));
    EXPECT_FALSE(alreadyStored);
    EXPECT_EQ(m_database->Messages().size(), 1);
    EXPECT_TRUE(m_database->ReadRows(QStringLiteral("select * from INVOICE")).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Providers, ExecuteInsertTest, kBothProviders, ProviderName);

} // namespace
