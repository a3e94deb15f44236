#include "tests/support/MainWindowFixture.h"

#include "store/engine/Variant.h"

#include <QDate>

namespace {

constexpr DWORD kRed = 0xFFFF0000;
constexpr DWORD kGreen = 0xFF008000;

const QString kStored = QStringLiteral("报销入库成功！");
const QString kStoreFailed = QStringLiteral("入库失败，请重新操作！");

// The registration day as the database gives it back in this locale.
QString TodayAsShown()
{
    return engine::Variant::FromDate(QDate::currentDate()).ToText();
}

class RegistrationTest : public MainWindowFixture {
protected:
    QList<QMap<QString, engine::Variant>> Rows(const QString& code, const QString& number)
    {
        return Database().ReadRows(
            QStringLiteral("select * from INVOICE where INV_CODE = '%1' and INV_NUMBER = '%2'").arg(code, number));
    }

    int RowCount() { return static_cast<int>(Database().ReadRows("select * from INVOICE").size()); }

    void TypeInvoice(const QString& code, const QString& number, const QString& value, const QString& date,
                     const QString& check = {}, const QString& remark = {})
    {
        const std::pair<const char*, QString> fields[] = {{"editCode", code},   {"editNumber", number},
                                                          {"editValue", value}, {"controlDate", date},
                                                          {"editCheck", check}, {"editBackup", remark}};
        for (const auto& [name, text] : fields) {
            if (!text.isEmpty()) {
                ASSERT_TRUE(TypeInto(name, text)) << name;
            }
        }
    }
};

struct ScannedInvoice {
    const char* payload;
    const char* code;
    const char* number;
    const char* value;
    const char* date;
    const char* checkCode;
    const char* checkBit;
};

const ScannedInvoice kPayloads[] = {
    {"01,10,011001605111,80100798,64.9,20161018,85342965681116380258", "011001605111", "80100798", "64.9",
     "2016-10-18", "380258", ""},
    {"01,04,4200161350,00015045,165106.00,20160501,48114255542168294433,DBFE,", "4200161350", "00015045",
     "165106.00", "2016-05-01", "294433", "DBFE"},
    {"01,01,1200154130,03630024,94339.62,20160621,,9335,", "1200154130", "03630024", "94339.62", "2016-06-21", "",
     "9335"},
    {"01,32,,23442000000014209621,112,20230215,,74AE", "", "23442000000014209621", "112", "2023-02-15", "",
     "74AE"},
};

TEST_F(RegistrationTest, ScannedInvoicesAreStoredOnceThenRefusedWithTheirDay)
{
    // A typed invoice first: the scan after it must still reach the window.
    TypeInvoice("144031900111", "00000001", "10.00", "2024-03-01");
    ASSERT_TRUE(Click("insertbtn"));
    ASSERT_EQ(Window().State(), kStored);

    for (const ScannedInvoice& s : kPayloads) {
        SCOPED_TRACE(s.payload);
        Scan(s.payload);
        EXPECT_EQ(Window().State(), kStored);
        EXPECT_EQ(StateColor(), kGreen);
        EXPECT_EQ(Text("editCode"), s.code);
        EXPECT_EQ(Text("editNumber"), s.number);
        EXPECT_EQ(Text("controlDate"), s.date);
        EXPECT_EQ(Text("editCheck"), s.checkCode);

        const auto rows = Rows(s.code, s.number);
        ASSERT_EQ(rows.size(), 1);
        const auto& row = rows.first();
        EXPECT_EQ(row["INV_TOPTYPE"].ToText(), "01");
        EXPECT_EQ(row["INV_VALUE"].ToText(), s.value);
        EXPECT_EQ(row["INV_DATE"].ToDateTime().date(), QDate::fromString(s.date, Qt::ISODate));
        EXPECT_EQ(row["INV_CHECKCODE"].ToText(), s.checkCode);
        EXPECT_EQ(row["INV_CHECKBIT"].ToText(), s.checkBit);
        EXPECT_EQ(row["INV_OPDATE"].ToDateTime(), QDateTime(QDate::currentDate(), QTime(0, 0), Qt::UTC));
        EXPECT_EQ(row["INV_STATUS"].ToText(), "1");
        EXPECT_EQ(row["IS_AUTOSCAN"].ToText(), "1");
        EXPECT_EQ(row["INV_BACKUP"].ToText(), "");

        Scan(s.payload);
        EXPECT_EQ(Window().State(), QStringLiteral("发票已存在,入库日期【%1】").arg(TodayAsShown()));
        EXPECT_EQ(StateColor(), kRed);
        EXPECT_EQ(Rows(s.code, s.number).size(), 1);
    }
    EXPECT_TRUE(Database().Messages().isEmpty()) << Database().Messages().join('\n').toStdString();
}

TEST_F(RegistrationTest, ATypedInvoiceIsStoredWithItsRemarkAndApostrophesAsTyped)
{
    TypeInvoice("144'031", "O'Neil#1", "1'000", "2024-03-01", "ab'c", "O'Brien -- 'x'); drop");
    ASSERT_TRUE(Click("insertbtn"));
    EXPECT_EQ(Window().State(), kStored);
    const auto rows = Rows("144''031", "O''Neil#1");
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows.first()["INV_BACKUP"].ToText(), "O'Brien -- 'x'); drop");
    EXPECT_EQ(rows.first()["INV_VALUE"].ToText(), "1'000");
    EXPECT_EQ(rows.first()["IS_AUTOSCAN"].ToText(), "0");
    EXPECT_EQ(rows.first()["INV_TOPTYPE"].ToText(), "");
    EXPECT_EQ(rows.first()["INV_CHECKBIT"].ToText(), "");

    ASSERT_TRUE(Click("insertbtn"));
    EXPECT_EQ(Window().State(), QStringLiteral("发票已存在,入库日期【%1】").arg(TodayAsShown()));
    EXPECT_EQ(RowCount(), 1);
}

TEST_F(RegistrationTest, EachMissingFieldShowsItsOwnMessageAndStoresNothing)
{
    struct Case {
        const char* code;
        const char* number;
        const char* value;
        const char* date;
        const char* message;
    };
    const Case cases[] = {
        {"", "", "", "", "发票代码不能为空！"},
        {"", "12345678", "1.00", "2024-03-01", "发票代码不能为空！"},
        {"144031900111", "", "1.00", "2024-03-01", "发票号码不能为空！"},
        {"144031900111", "12345678", "", "2024-03-01", "发票金额不能为空！"},
        {"144031900111", "12345678", "1.00", "", "开票日期不能为空！"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        ASSERT_TRUE(Click("clearbtn"));
        TypeInvoice(c.code, c.number, c.value, c.date);
        ASSERT_TRUE(Click("insertbtn"));
        EXPECT_EQ(Window().State(), QString::fromUtf8(c.message));
        EXPECT_EQ(StateColor(), kRed);
        EXPECT_EQ(Text("editNumber"), c.number); // the clerk's input stays for correction
    }
    EXPECT_EQ(RowCount(), 0);
}

TEST_F(RegistrationTest, ATypedDigitalInvoiceNeedsNoCode)
{
    TypeInvoice("", "23442000000014209621", "112", "2023-02-15");
    ASSERT_TRUE(Click("insertbtn"));
    EXPECT_EQ(Window().State(), kStored);
    EXPECT_EQ(Rows("", "23442000000014209621").size(), 1);
}

TEST_F(RegistrationTest, APayloadWithoutAnEightCharacterDateFailsWithTheEnginesMessage)
{
    Scan("01,10,011001605111,80100798,64.9,2016101,85342965681116380258");
    EXPECT_EQ(Window().State(), kStoreFailed);
    EXPECT_EQ(StateColor(), kRed);
    EXPECT_EQ(Database().Messages().size(), 1);
    EXPECT_EQ(RowCount(), 0);
}

TEST_F(RegistrationTest, ARejectedPayloadIsKeptInFrontOfTheNextScan)
{
    Scan("junk");
    Scan("01,10,011001605111,80100798,64.9,20161018,853429");
    EXPECT_EQ(Window().State(), kStored);
    const auto rows = Rows("011001605111", "80100798");
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows.first()["INV_TOPTYPE"].ToText(), "junk01");
    EXPECT_EQ(Window().ScanBuffer(), "");
}

} // namespace
