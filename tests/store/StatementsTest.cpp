#include "store/Statements.h"
#include "store/engine/Recordset.h"
#include "tests/support/ProviderParameters.h"
#include "tests/support/TempInvoiceDatabase.h"

#include <gtest/gtest.h>

namespace {

// Values that would break a statement built without care.
const QStringList kHostileTexts = {
    QStringLiteral("O'Brien"),
    QStringLiteral("''"),
    QStringLiteral("'); DROP TABLE INVOICE; --"),
    QStringLiteral("x' OR '1'='1"),
    QStringLiteral("a#b"),
    QStringLiteral("#2019-01-01#"),
    QStringLiteral("-- comment"),
    QStringLiteral("; DELETE FROM INVOICE;"),
    QStringLiteral("line\nbreak\r\nend"),
    QStringLiteral("中文发票 ½ 😀"),
    QStringLiteral("%s %d %% %1"),
    QStringLiteral("\"dq\" [br]"),
    QStringLiteral("? $1 :name @p"),
    QStringLiteral("\\' backslash"),
    QStringLiteral("  padded  "),
    QString(),
};

QString Text(const engine::Variant& value)
{
    return value.ToText(QLocale::c());
}

// The stored row of an invoice, read through the catalogue's import lookup.
QMap<QString, QString> Lookup(CAdoConnection& connection, const QString& code, const QString& number)
{
    QMap<QString, QString> row;
    if (!connection.OpenRecordset(Statements::Format(Statements::SelectInvoiceByCodeAndNumber, {code, number})))
        return row;
    auto recordset = connection.GetRecordset();
    if (!recordset->IsEOF()) {
        for (const QString& column : recordset->FieldNames()) {
            const auto value = recordset->Collect(column);
            row.insert(TempInvoiceDatabase::ProgramColumnName(column),
                       value.IsNull() ? QStringLiteral("<null>") : Text(value));
        }
        recordset->MoveNext();
        EXPECT_TRUE(recordset->IsEOF()) << "one row per code and number";
    }
    recordset->Close();
    return row;
}

QStringList Codes(CAdoConnection& connection, const QString& query)
{
    QStringList codes;
    if (!connection.OpenRecordset(query))
        return {QStringLiteral("<failed>")};
    auto recordset = connection.GetRecordset();
    for (; !recordset->IsEOF(); recordset->MoveNext())
        codes << recordset->Collect(QStringLiteral("INV_CODE")).ToText();
    recordset->Close();
    codes.sort();
    return codes;
}

// Every statement of the catalogue, on each binding.
class StatementsTest : public ::testing::TestWithParam<engine::ProviderKind> {
protected:
    void SetUp() override { ASSERT_TRUE(database.IsValid()) << qPrintable(database.Error()); }

    int InvoiceCount() { return static_cast<int>(database.ReadRows(Statements::SelectAllInvoices).size()); }

    TempInvoiceDatabase database{GetParam()};
    CAdoConnection& connection = database.Connection();
};

} // namespace

INSTANTIATE_TEST_SUITE_P(Providers, StatementsTest, kBothProviders, ProviderName);

TEST(StatementsFormatTest, FillsPlaceholdersInOrderAndEscapesByLiteral)
{
    EXPECT_EQ(Statements::Format(QStringLiteral("%s-%d-%%-%s"), {QStringLiteral("a"), 7, QStringLiteral("%d")}),
              QStringLiteral("a-7-%-%d"));
    EXPECT_EQ(Statements::Format(QStringLiteral("'%s' #%s# %s '%d'"),
                                 {QStringLiteral("a'#b"), QStringLiteral("c#'d"), QStringLiteral("e'#"), 1}),
              QStringLiteral("'a''#b' #c##'d# e'# '1'"));
    // The template's own doubled apostrophes keep the following value in context.
    EXPECT_EQ(Statements::Format(QStringLiteral("'it''s %s'"), {QStringLiteral("O'K")}),
              QStringLiteral("'it''s O''K'"));
    EXPECT_EQ(Statements::Format(QStringLiteral("'%s' and %d"), {}), QStringLiteral("'' and 0"));
    EXPECT_EQ(Statements::Format(Statements::AndInvoiceDateFrom, {QStringLiteral("2019-01-01")}),
              QStringLiteral(" and INV_DATE >= #2019-01-01#"));
}

TEST_P(StatementsTest, RegistrationInsertsAcceptEveryDateForm)
{
    struct Case {
        const char* literal;
        const char* stored;
    } cases[] = {
        {"2019-1-2", "2019-01-02"},
        {"2019/01/03", "2019-01-03"},
        {"1/4/2019", "2019-01-04"},
        {"2019-01-05 10:30", "2019-01-05 10:30:00"},
        {"1/6/2019 3:04:05 PM", "2019-01-06 15:04:05"},
    };
    int number = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.literal);
        const QString code = QStringLiteral("D%1").arg(++number);
        ASSERT_TRUE(connection.Execute(Statements::Format(
            Statements::InsertInvoiceWithDate,
            {QStringLiteral("01"), QStringLiteral("10"), code, QStringLiteral("12345678"), QStringLiteral("1234.50"),
             QString::fromUtf8(c.literal), QStringLiteral("654321"), QStringLiteral("ab"),
             QStringLiteral("2024-05-06"), 1, QString()})));
        const auto row = Lookup(connection, code, QStringLiteral("12345678"));
        EXPECT_EQ(row.value(QStringLiteral("INV_DATE")), QString::fromUtf8(c.stored));
        EXPECT_EQ(row.value(QStringLiteral("INV_OPDATE")), QStringLiteral("2024-05-06"));
        EXPECT_EQ(row.value(QStringLiteral("INV_VALUE")), QStringLiteral("1234.50"));
        EXPECT_EQ(row.value(QStringLiteral("INV_STATUS")), QStringLiteral("1"));
        EXPECT_EQ(row.value(QStringLiteral("IS_AUTOSCAN")), QStringLiteral("1"));
    }
    // Dates are real dates to whoever needs a form independent of the locale.
    const auto rows = database.ReadRows(QStringLiteral("select INV_DATE from invoice where INV_CODE = 'D3'"));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_TRUE(rows.first().value(QStringLiteral("INV_DATE")).IsDate());
    EXPECT_EQ(rows.first().value(QStringLiteral("INV_DATE")).ToDateTime().date(), QDate(2019, 1, 4));
    EXPECT_TRUE(database.Messages().isEmpty()) << qPrintable(database.Messages().join(QLatin1Char('\n')));
}

TEST_P(StatementsTest, InsertWithoutDateLeavesTheDateNull)
{
    ASSERT_TRUE(connection.Execute(Statements::Format(
        Statements::InsertInvoiceWithoutDate,
        {QString(), QString(), QStringLiteral("C1"), QStringLiteral("N1"), QStringLiteral("9.90"),
         QStringLiteral("123456"), QString(), QStringLiteral("2024-05-06"), 0, QStringLiteral("remark")})));
    ASSERT_TRUE(connection.OpenRecordset(
        Statements::Format(Statements::SelectInvoiceByNumberAndCode, {QStringLiteral("N1"), QStringLiteral("C1")})));
    auto recordset = connection.GetRecordset();
    ASSERT_FALSE(recordset->IsEOF());
    EXPECT_TRUE(recordset->Collect(QStringLiteral("INV_DATE")).IsNull());
    EXPECT_FALSE(recordset->Collect(QStringLiteral("INV_TOPTYPE")).IsNull()) << "empty text is a value";
    EXPECT_EQ(recordset->Collect(QStringLiteral("INV_BACKUP")).ToText(), QStringLiteral("remark"));
    EXPECT_EQ(recordset->Collect(QStringLiteral("IS_AUTOSCAN")).ToText(), QStringLiteral("0"));
    recordset->Close();
}

TEST_P(StatementsTest, EmptyDateLiteralIsRefusedAndNothingStored)
{
    EXPECT_FALSE(connection.Execute(Statements::Format(
        Statements::InsertInvoiceWithDate,
        {QString(), QString(), QStringLiteral("C1"), QStringLiteral("N1"), QStringLiteral("1"), QString(),
         QString(), QString(), QStringLiteral("2024-05-06"), 1, QString()})));
    ASSERT_EQ(database.Messages().size(), 1);
    EXPECT_FALSE(database.Messages().first().isEmpty());
    EXPECT_EQ(InvoiceCount(), 0);
}

TEST_P(StatementsTest, QueryDeleteExportAndImportStatementsRunAsWritten)
{
    const auto import = [&](const QString& code, const QString& date, const QString& status) {
        return Statements::Format(Statements::InsertImportedInvoice,
                                  {QStringLiteral("01"), QStringLiteral("10"), QStringLiteral("N"), code,
                                   QStringLiteral("1.00"), date, QStringLiteral("123456"), status, QString(),
                                   QStringLiteral("1/2/2024"), QStringLiteral("1")});
    };
    ASSERT_TRUE(connection.ExecuteBatch({
        import(QStringLiteral("JAN"), QStringLiteral("2019-01-01"), QStringLiteral("1")),
        import(QStringLiteral("JUN"), QStringLiteral("2019/6/15"), QStringLiteral("1")),
        import(QStringLiteral("JUNPM"), QStringLiteral("6/15/2019 10:00:00"), QStringLiteral("1")),
        import(QStringLiteral("DEC"), QStringLiteral("2019-12-31"), QStringLiteral("1")),
        import(QStringLiteral("OFF"), QStringLiteral("2019-06-15"), QStringLiteral("0")),
    }));
    ASSERT_TRUE(connection.Execute(Statements::Format(
        Statements::InsertInvoiceWithoutDate,
        {QString(), QString(), QStringLiteral("NODATE"), QStringLiteral("N"), QStringLiteral("1"), QString(),
         QString(), QStringLiteral("2024-01-02"), 0, QString()})));

    const auto query = [](const QString& from, const QString& to) {
        QString statement = Statements::SelectRegisteredInvoices;
        if (!from.isEmpty())
            statement += Statements::Format(Statements::AndInvoiceDateFrom, {from});
        if (!to.isEmpty())
            statement += Statements::Format(Statements::AndInvoiceDateTo, {to});
        return statement;
    };
    EXPECT_EQ(Codes(connection, query({}, {})),
              QStringList({"DEC", "JAN", "JUN", "JUNPM", "NODATE"}));
    EXPECT_EQ(Codes(connection, query(QStringLiteral("2019-06-15"), {})),
              QStringList({"DEC", "JUN", "JUNPM"}));
    EXPECT_EQ(Codes(connection, query({}, QStringLiteral("2019-06-15"))), QStringList({"JAN", "JUN"}));
    EXPECT_EQ(Codes(connection, query(QStringLiteral("2019-06-15"), QStringLiteral("2019-06-15"))),
              QStringList({"JUN"}));
    EXPECT_EQ(Codes(connection, query(QStringLiteral("2019-1-1"), QStringLiteral("12/31/2019"))),
              QStringList({"DEC", "JAN", "JUN", "JUNPM"}));

    // The import lookup finds a row whatever its status; export lists every row.
    EXPECT_EQ(Lookup(connection, QStringLiteral("OFF"), QStringLiteral("N")).value(QStringLiteral("INV_STATUS")),
              QStringLiteral("0"));
    EXPECT_EQ(Lookup(connection, QStringLiteral("OFF"), QStringLiteral("N")).value(QStringLiteral("INV_BACKUP")),
              QStringLiteral("<null>"));
    EXPECT_EQ(Codes(connection, Statements::SelectAllInvoices).size(), 6);

    ASSERT_TRUE(connection.Execute(
        Statements::Format(Statements::DeleteInvoice, {QStringLiteral("JUN"), QStringLiteral("N")})));
    EXPECT_EQ(connection.GetRecordCount(), 1);
    EXPECT_EQ(Codes(connection, Statements::SelectAllInvoices),
              QStringList({"DEC", "JAN", "JUNPM", "NODATE", "OFF"}));

    ASSERT_TRUE(connection.OpenRecordset(Statements::SelectConfig));
    auto recordset = connection.GetRecordset();
    ASSERT_FALSE(recordset->IsEOF());
    EXPECT_EQ(recordset->Collect(QStringLiteral("id")).ToText(), QStringLiteral("1"));
    EXPECT_FALSE(recordset->Collect(QStringLiteral("url")).IsNull());
    EXPECT_EQ(recordset->Collect(QStringLiteral("URL")).ToText(), QString());
    recordset->Close();
    EXPECT_TRUE(database.Messages().isEmpty()) << qPrintable(database.Messages().join(QLatin1Char('\n')));
}

TEST_P(StatementsTest, HostileValuesAreStoredExactlyInEveryField)
{
    // Every text field of every insert gets the hostile value, tagged with
    // its column so that a value landing in the wrong column shows.
    const QStringList registrationColumns = {
        "INV_TOPTYPE", "INV_SUBTYPE", "INV_CODE", "INV_NUMBER", "INV_VALUE", "INV_CHECKCODE", "INV_CHECKBIT",
        "INV_BACKUP"};
    const QStringList importColumns = {
        "INV_TOPTYPE", "INV_SUBTYPE", "INV_NUMBER", "INV_CODE", "INV_VALUE", "INV_CHECKCODE", "INV_STATUS",
        "INV_CHECKBIT", "IS_AUTOSCAN"};
    int serial = 0;
    for (const QString& hostile : kHostileTexts) {
        SCOPED_TRACE(qPrintable(hostile));
        for (int form = 0; form < 3; ++form) {
            const QString tag = QStringLiteral("|%1").arg(++serial);
            const auto v = [&](const char* column) { return hostile + QLatin1Char('|') + QLatin1String(column) + tag; };
            QString statement;
            if (form == 0)
                statement = Statements::Format(Statements::InsertInvoiceWithDate,
                    {v("INV_TOPTYPE"), v("INV_SUBTYPE"), v("INV_CODE"), v("INV_NUMBER"), v("INV_VALUE"),
                     QStringLiteral("2019-01-02"), v("INV_CHECKCODE"), v("INV_CHECKBIT"),
                     QStringLiteral("2024-05-06"), 1, v("INV_BACKUP")});
            else if (form == 1)
                statement = Statements::Format(Statements::InsertInvoiceWithoutDate,
                    {v("INV_TOPTYPE"), v("INV_SUBTYPE"), v("INV_CODE"), v("INV_NUMBER"), v("INV_VALUE"),
                     v("INV_CHECKCODE"), v("INV_CHECKBIT"), QStringLiteral("2024-05-06"), 0, v("INV_BACKUP")});
            else
                statement = Statements::Format(Statements::InsertImportedInvoice,
                    {v("INV_TOPTYPE"), v("INV_SUBTYPE"), v("INV_NUMBER"), v("INV_CODE"), v("INV_VALUE"),
                     QStringLiteral("2019-01-02"), v("INV_CHECKCODE"), v("INV_STATUS"), v("INV_CHECKBIT"),
                     QStringLiteral("2024-05-06"), v("IS_AUTOSCAN")});
            ASSERT_TRUE(connection.Execute(statement)) << qPrintable(database.Messages().join(QLatin1Char('\n')));
            EXPECT_EQ(connection.GetRecordCount(), 1);

            const auto row = Lookup(connection, v("INV_CODE"), v("INV_NUMBER"));
            for (const QString& column : form == 2 ? importColumns : registrationColumns)
                EXPECT_EQ(row.value(column), v(qPrintable(column))) << qPrintable(column);
            EXPECT_EQ(row.value(QStringLiteral("INV_OPDATE")), QStringLiteral("2024-05-06"));
            EXPECT_EQ(row.value(QStringLiteral("INV_DATE")),
                      form == 1 ? QStringLiteral("<null>") : QStringLiteral("2019-01-02"));
        }
    }
    EXPECT_EQ(InvoiceCount(), serial);
    EXPECT_TRUE(database.Messages().isEmpty());
}

TEST_P(StatementsTest, HostileCodesAndNumbersFindAndDeleteOnlyTheirOwnRow)
{
    const auto insert = [&](const QString& code, const QString& number) {
        return connection.Execute(Statements::Format(
            Statements::InsertInvoiceWithoutDate,
            {QString(), QString(), code, number, QStringLiteral("1"), QString(), QString(),
             QStringLiteral("2024-05-06"), 1, QString()}));
    };
    ASSERT_TRUE(insert(QStringLiteral("decoy"), QStringLiteral("decoy")));
    for (const QString& hostile : kHostileTexts) {
        SCOPED_TRACE(qPrintable(hostile));
        const QString code = hostile + QStringLiteral("|code");
        const QString number = hostile + QStringLiteral("|number");
        ASSERT_TRUE(insert(code, number));

        ASSERT_TRUE(connection.OpenRecordset(
            Statements::Format(Statements::SelectInvoiceByNumberAndCode, {number, code})));
        EXPECT_EQ(connection.GetRecordCount(), 1);
        connection.GetRecordset()->Close();
        EXPECT_EQ(Lookup(connection, code, number).value(QStringLiteral("INV_CODE")), code);

        ASSERT_TRUE(connection.Execute(Statements::Format(Statements::DeleteInvoice, {code, number})));
        EXPECT_EQ(connection.GetRecordCount(), 1);
        EXPECT_EQ(InvoiceCount(), 1) << "only the decoy is left";
    }
    // The classic "always true" value matches nothing.
    ASSERT_TRUE(connection.Execute(Statements::Format(
        Statements::DeleteInvoice, {QStringLiteral("x' OR '1'='1"), QStringLiteral("x' OR '1'='1")})));
    EXPECT_EQ(connection.GetRecordCount(), 0);
    EXPECT_EQ(InvoiceCount(), 1);
    EXPECT_TRUE(database.Messages().isEmpty());
}

TEST_P(StatementsTest, HostileDateValuesAreRefusedWithoutChangingAnything)
{
    ASSERT_TRUE(connection.Execute(Statements::Format(
        Statements::InsertInvoiceWithoutDate,
        {QString(), QString(), QStringLiteral("keep"), QStringLiteral("keep"), QStringLiteral("1"), QString(),
         QString(), QStringLiteral("2024-05-06"), 1, QString()})));
    const QStringList hostileDates = {
        QString(),
        QStringLiteral(" "),
        QStringLiteral("#"),
        QStringLiteral("2019-01-02#,'x','y','z',#2019-01-02"),
        QStringLiteral("2019-01-02# or INV_CODE <> #"),
        QStringLiteral("2019-01-02'); DELETE FROM INVOICE; --"),
        QStringLiteral("2019-01-02\n#"),
        QStringLiteral("2019-01-02 -- x"),
    };
    int serial = 0;
    for (const QString& date : hostileDates) {
        SCOPED_TRACE(qPrintable(date));
        database.MessageBoxes().Clear();
        const QString code = QStringLiteral("H%1").arg(++serial);
        EXPECT_FALSE(connection.Execute(Statements::Format(
            Statements::InsertInvoiceWithDate,
            {QString(), QString(), code, QStringLiteral("1"), QStringLiteral("1"), date, QString(), QString(),
             QStringLiteral("2024-05-06"), 1, QString()})));
        EXPECT_FALSE(connection.Execute(Statements::Format(
            Statements::InsertImportedInvoice,
            {QString(), QString(), QStringLiteral("1"), code, QStringLiteral("1"), QStringLiteral("2019-01-02"),
             QString(), QStringLiteral("1"), QString(), date, QStringLiteral("1")})));
        EXPECT_FALSE(connection.OpenRecordset(Statements::SelectRegisteredInvoices
                                              + Statements::Format(Statements::AndInvoiceDateFrom, {date})));
        EXPECT_FALSE(connection.OpenRecordset(Statements::SelectRegisteredInvoices
                                              + Statements::Format(Statements::AndInvoiceDateTo, {date})));
        const QStringList messages = database.MessageBoxes().Take();
        ASSERT_EQ(messages.size(), 4);
        for (const QString& message : messages)
            EXPECT_FALSE(message.isEmpty());
    }
    EXPECT_EQ(InvoiceCount(), 1);
}
