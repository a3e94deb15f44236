#include "backup/BackupField.h"
#include "backup/ImportStatement.h"
#include "tests/support/TempInvoiceDatabase.h"

#include <gtest/gtest.h>

namespace {

QStringList Fields(const QString& number, const QString& date, const QString& opDate)
{
    return {"01", "04", number, "144031900111", "10.00", date, "O'Brien #1", "1", "", opDate, "1"};
}

// Each date may be missing; whatever the values hold, the statement stores
// them unchanged.
TEST(ImportStatementTest, StoresEveryFieldAndNoDateForAnEmptyDateField)
{
    TempInvoiceDatabase database;
    ASSERT_TRUE(database.IsValid()) << database.Error().toStdString();
    const QList<QStringList> lines = {Fields("1", "2024-03-05", "2024-04-01"), Fields("2", "", "2024-04-01"),
                                      Fields("3", "2024-03-05", ""), Fields("4", "", "")};
    QStringList statements;
    for (const QStringList& fields : lines)
        statements << ImportStatement::Build(fields);
    ASSERT_TRUE(database.Connection().ExecuteBatch(statements)) << database.Messages().join('\n').toStdString();

    const auto rows = database.ReadRows(QStringLiteral("select * from INVOICE order by INV_NUMBER"));
    ASSERT_EQ(rows.size(), lines.size());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const QStringList& fields = lines.at(i);
        for (int field : {BackupNumber, BackupCode, BackupCheckCode, BackupStatus, BackupAutoScan})
            EXPECT_EQ(rows.at(i).value(kBackupColumnNames[field]).ToText(), fields.at(field)) << i;
        for (int field : {BackupDate, BackupOpDate}) {
            const engine::Variant value = rows.at(i).value(kBackupColumnNames[field]);
            if (fields.at(field).isEmpty())
                EXPECT_TRUE(value.IsNull()) << i << " " << field;
            else
                EXPECT_EQ(value.ToDateTime().date(), QDate::fromString(fields.at(field), Qt::ISODate)) << i;
        }
    }
}

} // namespace
