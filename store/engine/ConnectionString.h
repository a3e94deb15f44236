#pragma once

#include <QList>
#include <QPair>
#include <QString>

namespace engine {

// A connection string: "Keyword=value" pairs separated by ';'. Keywords are
// matched without regard to case or surrounding blanks. A value may be put
// between double (or single) quotes, doubling the quote inside, to hold a ';'.
// A keyword given twice keeps its last value.
class ConnectionString {
public:
    ConnectionString() = default;
    static ConnectionString Parse(const QString& text);

    bool Contains(const QString& keyword) const;
    QString Value(const QString& keyword) const;
    void SetValue(const QString& keyword, const QString& value);

    // A value quoted as Parse expects it, when it needs quoting.
    static QString QuoteValue(const QString& value);

private:
    QList<QPair<QString, QString>> m_pairs;
};

} // namespace engine
