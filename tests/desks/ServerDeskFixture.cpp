#include "tests/desks/ServerDeskFixture.h"

#include "store/engine/Variant.h"
#include "ui/kit/CControlUI.h"
#include "ui/kit/KitTestSupport.h"

#include <QDate>

#include <memory>

ServerDeskFixture::ServerDeskFixture()
{
    m_provider = engine::ProviderKind::PostgreSql;
    m_openThroughDataLinkFile = true;
}

QString ServerDeskFixture::ClickAnsweringPrompt(const QString& controlName)
{
    // The prompt may outlive this call's interest in it: the flag, shared
    // with the handler, keeps a late prompt from writing into a gone frame.
    auto prompt = std::make_shared<QString>();
    auto listening = std::make_shared<bool>(true);
    kit::test::WhenWindowShown(QStringLiteral("CJsAlertDlg"), [prompt, listening](HWND dlg) {
        if (!*listening)
            return;
        auto* window = static_cast<WindowImplBase*>(CWindowWnd::FromHandle(dlg));
        *prompt = window->FindControl(QStringLiteral("TextName"))->GetText();
        kit::test::Click(dlg, QStringLiteral("ButtonConfirm"));
    });
    EXPECT_TRUE(Click(controlName)) << controlName.toStdString();
    *listening = false;
    return *prompt;
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
