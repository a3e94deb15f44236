#include "tests/desks/ServerDeskFixture.h"

#include "store/engine/Variant.h"

#include <QDate>

ServerDeskFixture::ServerDeskFixture()
{
    m_provider = engine::ProviderKind::PostgreSql;
    m_openThroughDataLinkFile = true;
}

QList<QMap<QString, engine::Variant>> ServerDeskFixture::Rows(const QString& code, const QString& number)
{
    const auto quoted = [](QString text) { return text.replace(QLatin1Char('\''), QStringLiteral("''")); };
    return Database().ReadRows(QStringLiteral("select * from INVOICE where INV_CODE = '%1' and INV_NUMBER = '%2'")
                                   .arg(quoted(code), quoted(number)));
}

QString ServerDeskFixture::AlreadyStored(const QDate& day)
{
    return QStringLiteral("发票已存在,入库日期【%1】").arg(engine::Variant::FromDate(day).ToText());
}
