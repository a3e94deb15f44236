#include "registration/ScanPayload.h"

#include <gtest/gtest.h>

namespace {

struct Accepted {
    const char* name;
    QString payload;
    InvoiceRecord expected;
};

InvoiceRecord Invoice(QString top, QString sub, QString code, QString number, QString value,
                      QString date, QString checkCode, QString checkBit)
{
    InvoiceRecord r;
    r.TopType = top;
    r.SubType = sub;
    r.Code = code;
    r.Number = number;
    r.Value = value;
    r.Date = date;
    r.CheckCode = checkCode;
    r.CheckBit = checkBit;
    return r;
}

void ExpectSame(const InvoiceRecord& a, const InvoiceRecord& b)
{
    EXPECT_EQ(a.TopType, b.TopType);
    EXPECT_EQ(a.SubType, b.SubType);
    EXPECT_EQ(a.Code, b.Code);
    EXPECT_EQ(a.Number, b.Number);
    EXPECT_EQ(a.Value, b.Value);
    EXPECT_EQ(a.Date, b.Date);
    EXPECT_EQ(a.CheckCode, b.CheckCode);
    EXPECT_EQ(a.CheckBit, b.CheckBit);
    EXPECT_EQ(a.OpDate, b.OpDate);
    EXPECT_EQ(a.Backup, b.Backup);
}

class AcceptedPayloads : public ::testing::TestWithParam<Accepted> {};

TEST_P(AcceptedPayloads, FillTheInvoice)
{
    InvoiceRecord invoice;
    invoice.Backup = "stale remark";
    invoice.OpDate = "2000-01-01";
    ASSERT_TRUE(ParseScanPayload(GetParam().payload, invoice));
    ExpectSame(invoice, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, AcceptedPayloads,
    ::testing::Values(
        Accepted{"SevenFields", "01,10,011001605111,80100798,64.9,20161018,85342965681116380258",
                 Invoice("01", "10", "011001605111", "80100798", "64.9", "2016-10-18", "380258", "")},
        Accepted{"EightFieldsClosingComma",
                 "01,04,4200161350,00015045,165106.00,20160501,48114255542168294433,DBFE,",
                 Invoice("01", "04", "4200161350", "00015045", "165106.00", "2016-05-01", "294433", "DBFE")},
        Accepted{"EmptyCheckCode", "01,01,1200154130,03630024,94339.62,20160621,,9335,",
                 Invoice("01", "01", "1200154130", "03630024", "94339.62", "2016-06-21", "", "9335")},
        Accepted{"NineFieldsNoCheckBit", "01,04,42,15,1.00,20160501,ABCDEFGH,DBFE,X,",
                 Invoice("01", "04", "42", "15", "1.00", "2016-05-01", "CDEFGH", "")},
        Accepted{"ShortCheckCodeKeptWhole", "01,04,42,15,1.00,20160501,9335",
                 Invoice("01", "04", "42", "15", "1.00", "2016-05-01", "9335", "")},
        Accepted{"BlanksAndCarriageReturnTrimmed", " 01 , 04 ,42 , 15,1.00 ,20160501, 123456789 ,AB \r",
                 Invoice("01", "04", "42", "15", "1.00", "2016-05-01", "456789", "AB")},
        Accepted{"DateOfOtherLengthLeftEmpty", "01,04,42,15,1.00,2016051,123456",
                 Invoice("01", "04", "42", "15", "1.00", "", "123456", "")},
        Accepted{"DateNotDigitsStillRewritten", "01,04,42,15,1.00,abcdefgh,123456",
                 Invoice("01", "04", "42", "15", "1.00", "abcd-ef-gh", "123456", "")},
        Accepted{"LeftoverTextInFrontOfTopType", "junk01,04,42,15,1.00,20160501,123456",
                 Invoice("junk01", "04", "42", "15", "1.00", "2016-05-01", "123456", "")},
        Accepted{"DigitalInvoiceWithoutCode", "01,32,,23442000000014209621,112,20230215,,74AE",
                 Invoice("01", "32", "", "23442000000014209621", "112", "2023-02-15", "", "74AE")},
        Accepted{"DigitalSpecialInvoice", "01,31,,23442000000014209622,1000.00,20231130,,",
                 Invoice("01", "31", "", "23442000000014209622", "1000.00", "2023-11-30", "", "")}),
    [](const auto& info) { return std::string(info.param.name); });

struct Rejected {
    const char* name;
    QString payload;
};

class RejectedPayloads : public ::testing::TestWithParam<Rejected> {};

TEST_P(RejectedPayloads, LeaveTheInvoiceAlone)
{
    InvoiceRecord invoice;
    invoice.Code = "untouched";
    EXPECT_FALSE(ParseScanPayload(GetParam().payload, invoice));
    EXPECT_EQ(invoice.Code, "untouched");
}

INSTANTIATE_TEST_SUITE_P(
    Table, RejectedPayloads,
    ::testing::Values(Rejected{"Empty", ""},
                      Rejected{"NoComma", "0110011001605111"},
                      Rejected{"SixFields", "01,10,011001605111,80100798,64.9,20161018"},
                      Rejected{"SixFieldsAndClosingComma", "01,10,011001605111,80100798,64.9,20161018,"},
                      Rejected{"EmptyCode", "01,10,,80100798,64.9,20161018,853429"},
                      Rejected{"BlankCode", "01,10,  ,80100798,64.9,20161018,853429"},
                      Rejected{"NoCodeNineteenDigits", "01,32,,2344200000001420962,112,20230215,,74AE"},
                      Rejected{"NoCodeTwentyOneDigits", "01,32,,234420000000142096210,112,20230215,,74AE"},
                      Rejected{"NoCodeTwentyWithLetter", "01,32,,2344200000001420962X,112,20230215,,74AE"},
                      Rejected{"NoCodeFullWidthDigits",
                               QString::fromUtf16(u"01,32,,２３４４２０００００００１４２０９６２１,112,20230215,,74AE")}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
