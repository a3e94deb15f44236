#pragma once

#include <QString>
#include <QVariantList>

// Every statement text the program sends to the database, and the formatter
// that fills them. Fill a text with Format, giving the values in placeholder
// order: %s takes a text, %d a whole number.
//
//   Statements::Format(Statements::SelectInvoiceByNumberAndCode, {number, code})
class Statements {
public:
    // Registration: look an invoice up by number and code.
    static inline const QString SelectInvoiceByNumberAndCode =
        QStringLiteral("Select * from INVOICE where INV_NUMBER = '%s' and INV_CODE = '%s'");
    // Registration: top type, sub type, code, number, amount, invoice date,
    // check code, check bit, registration date, auto-scan flag (%d), remark.
    static inline const QString InsertInvoiceWithDate = QStringLiteral(
        "INSERT INTO INVOICE(INV_TOPTYPE, INV_SUBTYPE, INV_CODE,INV_NUMBER,INV_VALUE,INV_DATE, INV_CHECKCODE, "
        "INV_CHECKBIT,INV_OPDATE, INV_STATUS, IS_AUTOSCAN, INV_BACKUP) "
        "VALUES('%s','%s','%s','%s','%s',#%s#,'%s','%s',#%s#,'1', '%d', '%s')");
    // Registration without an invoice date: as above without the date.
    static inline const QString InsertInvoiceWithoutDate = QStringLiteral(
        "INSERT INTO INVOICE(INV_TOPTYPE, INV_SUBTYPE, INV_CODE,INV_NUMBER,INV_VALUE, INV_CHECKCODE, "
        "INV_CHECKBIT,INV_OPDATE, INV_STATUS, IS_AUTOSCAN, INV_BACKUP) "
        "VALUES('%s','%s','%s','%s','%s','%s','%s',#%s#,'1', '%d', '%s')");
    // Query: every registered invoice; the two conditions below may follow.
    static inline const QString SelectRegisteredInvoices =
        QStringLiteral("Select * From INVOICE where INV_STATUS = '1'");
    static inline const QString AndInvoiceDateFrom = QStringLiteral(" and INV_DATE >= #%s#");
    static inline const QString AndInvoiceDateTo = QStringLiteral(" and INV_DATE <= #%s#");
    // Deletion of a listed invoice: code, number.
    static inline const QString DeleteInvoice =
        QStringLiteral("Delete * from INVOICE where INV_CODE='%s' and INV_NUMBER='%s'");
    // Export: every stored invoice.
    static inline const QString SelectAllInvoices = QStringLiteral("Select * from invoice");
    // Import: look an invoice up by code and number.
    static inline const QString SelectInvoiceByCodeAndNumber =
        QStringLiteral("select * from invoice where INV_CODE = '%s' and INV_NUMBER = '%s'");
    // Import: the eleven fields of a backup line, in the line's order.
    static inline const QString InsertImportedInvoice = QStringLiteral(
        "INSERT INTO INVOICE(INV_TOPTYPE, INV_SUBTYPE,INV_NUMBER, INV_CODE,INV_VALUE,INV_DATE, INV_CHECKCODE, "
        "INV_STATUS, INV_CHECKBIT,INV_OPDATE, IS_AUTOSCAN) "
        "VALUES('%s','%s','%s','%s','%s', #%s#,'%s','%s','%s',#%s#,'%s')");
    // Start page: the configuration row.
    static inline const QString SelectConfig = QStringLiteral("select * from config where id = 1");

    // The database file beside the program, and its connection string.
    static inline const QString DatabaseFileName = QStringLiteral("invoice.ss");
    static inline const QString DatabasePassword = QStringLiteral("wzqp");
    static inline const QString ConnectionStringTemplate = QStringLiteral(
        "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%s;Persist Security Info=False;"
        "Jet OLEDB:Database Password=%s");

    // Fills %s and %d in order, printf-style ("%%" is one '%'). A value placed
    // between apostrophes has its apostrophes doubled and a value placed
    // between # signs its '#' doubled, so that no value can end its literal
    // early: whatever it holds, the statement keeps its structure. %d writes
    // the value as a decimal number. Missing values count as empty (0).
    static QString Format(const QString& statementText, const QVariantList& values);

    // The connection string for the database file at `databasePath`.
    static QString ConnectionString(const QString& databasePath);
};
