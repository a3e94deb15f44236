#include "ui/kit/CDateTimeUI.h"

#include "ui/kit/AttributeParsing.h"
#include "ui/kit/CPaintManagerUI.h"
#include "ui/kit/DateFieldWidget.h"
#include "ui/kit/EditWidget.h"

#include <QRegularExpression>

namespace {

const QString kDateFormat = QStringLiteral("yyyy-MM-dd");

kit::DateFieldWidget* FieldOf(CControlUI* control)
{
    return qobject_cast<kit::DateFieldWidget*>(control->PeekWidget());
}

} // namespace

QString CDateTimeUI::GetClass() const
{
    return QStringLiteral("DateTimeUI");
}

CControlUI* CDateTimeUI::GetInterface(const QString& name)
{
    return name == QLatin1String("DateTime") ? this : CLabelUI::GetInterface(name);
}

QDate CDateTimeUI::ParseDate(const QString& text)
{
    static const QRegularExpression separated(
        QStringLiteral("^(\\d{4})[-/.](\\d{1,2})[-/.](\\d{1,2})$"));
    static const QRegularExpression compact(QStringLiteral("^(\\d{4})(\\d{2})(\\d{2})$"));
    const QString trimmed = text.trimmed();
    QRegularExpressionMatch match = separated.match(trimmed);
    if (!match.hasMatch())
        match = compact.match(trimmed);
    if (!match.hasMatch())
        return QDate();
    return QDate(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
}

QString CDateTimeUI::GetText() const
{
    const QDate date = ParseDate(m_sText);
    return date.isValid() ? date.toString(kDateFormat) : QString();
}

void CDateTimeUI::SetText(const QString& text)
{
    if (PostToGuiThreadIfNeeded([this, text] { SetText(text); }))
        return;
    const QDate date = ParseDate(text);
    m_sText = date.isValid() ? date.toString(kDateFormat) : QString();
    OnTextChanged();
}

QDate CDateTimeUI::GetDate() const
{
    return ParseDate(m_sText);
}

void CDateTimeUI::SetDate(const QDate& date)
{
    SetText(date.isValid() ? date.toString(kDateFormat) : QString());
}

void CDateTimeUI::TakeTypedText(const QString& text)
{
    m_sText = text;
    if (m_pManager)
        m_pManager->SendNotify(this, QStringLiteral("textchanged"));
}

void CDateTimeUI::SetAttribute(const QString& name, const QString& value)
{
    if (name == QLatin1String("tipvalue")) {
        m_sTipValue = value;
        if (auto* field = FieldOf(this))
            field->Edit()->setPlaceholderText(value);
    } else {
        CLabelUI::SetAttribute(name, value);
        if (auto* field = FieldOf(this))
            ApplyStateToWidget(field);
    }
}

void CDateTimeUI::PaintText(QPainter&)
{
    // The line edit draws the text.
}

QWidget* CDateTimeUI::CreateWidget()
{
    return new kit::DateFieldWidget(this);
}

void CDateTimeUI::ApplyStateToWidget(QWidget* widget)
{
    CLabelUI::ApplyStateToWidget(widget);
    auto* field = static_cast<kit::DateFieldWidget*>(widget);
    kit::EditWidget* edit = field->Edit();
    edit->setFont(EffectiveFont());
    QPalette pal = edit->palette();
    const QColor color = QColor::fromRgba(EffectiveTextColor());
    pal.setColor(QPalette::Text, color);
    edit->setPalette(pal);
    edit->setProperty("kitNormalTextColor", color);
    edit->setPlaceholderText(m_sTipValue.isEmpty() ? QStringLiteral("年-月-日") : m_sTipValue);
    edit->setTextMargins(m_rcTextPadding.isNull() ? QMargins(6, 0, 0, 0) : m_rcTextPadding);
    field->ShowText(m_sText);
}

void CDateTimeUI::OnTextChanged()
{
    if (auto* field = FieldOf(this))
        field->ShowText(m_sText);
    Invalidate();
}
