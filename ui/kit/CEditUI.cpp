#include "ui/kit/CEditUI.h"

#include "ui/kit/AttributeParsing.h"
#include "ui/kit/CPaintManagerUI.h"
#include "ui/kit/EditWidget.h"

QString CEditUI::GetClass() const
{
    return QStringLiteral("EditUI");
}

CControlUI* CEditUI::GetInterface(const QString& name)
{
    return name == QLatin1String("Edit") ? this : CLabelUI::GetInterface(name);
}

QString CEditUI::GetText() const
{
    return m_sText;
}

namespace {

kit::EditWidget* EditOf(CControlUI* control)
{
    return qobject_cast<kit::EditWidget*>(control->PeekWidget());
}

} // namespace

void CEditUI::SetMaxChar(int maxChar)
{
    m_nMaxChar = maxChar;
    if (auto* edit = EditOf(this))
        edit->setMaxLength(maxChar > 0 ? maxChar : 32767);
}

void CEditUI::SetReadOnly(bool readOnly)
{
    m_bReadOnly = readOnly;
    if (auto* edit = EditOf(this))
        edit->setReadOnly(readOnly);
}

void CEditUI::SetPasswordMode(bool password)
{
    m_bPassword = password;
    if (auto* edit = EditOf(this))
        edit->setEchoMode(password ? QLineEdit::Password : QLineEdit::Normal);
}

void CEditUI::SetTipValue(const QString& tip)
{
    m_sTipValue = tip;
    if (auto* edit = EditOf(this))
        edit->setPlaceholderText(tip);
}

void CEditUI::SetFocus()
{
    if (auto* edit = EditOf(this))
        edit->setFocus(Qt::OtherFocusReason);
}

void CEditUI::SetAttribute(const QString& name, const QString& value)
{
    if (name == QLatin1String("maxchar"))
        SetMaxChar(kit::ParseInt(value, 255));
    else if (name == QLatin1String("readonly"))
        SetReadOnly(kit::ParseBool(value));
    else if (name == QLatin1String("password"))
        SetPasswordMode(kit::ParseBool(value));
    else if (name == QLatin1String("tipvalue"))
        SetTipValue(value);
    else
        CLabelUI::SetAttribute(name, value);
    if (name == QLatin1String("textcolor") || name == QLatin1String("font")
        || name == QLatin1String("textpadding") || name == QLatin1String("align"))
        if (QWidget* widget = PeekWidget())
            ApplyStateToWidget(widget);
}

void CEditUI::PaintText(QPainter&)
{
    // The line edit draws its own text.
}

QWidget* CEditUI::CreateWidget()
{
    auto* edit = new kit::EditWidget(this);
    QObject::connect(edit, &QLineEdit::textEdited, edit, [this](const QString& text) {
        m_sText = text;
        if (m_pManager)
            m_pManager->SendNotify(this, QStringLiteral("textchanged"));
    });
    QObject::connect(edit, &QLineEdit::returnPressed, edit, [this] {
        if (m_pManager)
            m_pManager->SendNotify(this, QStringLiteral("return"));
    });
    return edit;
}

void CEditUI::ApplyStateToWidget(QWidget* widget)
{
    CLabelUI::ApplyStateToWidget(widget);
    auto* edit = static_cast<kit::EditWidget*>(widget);
    edit->setMaxLength(m_nMaxChar > 0 ? m_nMaxChar : 32767);
    edit->setReadOnly(m_bReadOnly);
    edit->setEchoMode(m_bPassword ? QLineEdit::Password : QLineEdit::Normal);
    edit->setPlaceholderText(m_sTipValue);
    edit->setFont(EffectiveFont());
    QPalette pal = edit->palette();
    pal.setColor(QPalette::Text, QColor::fromRgba(EffectiveTextColor()));
    edit->setPalette(pal);
    edit->setTextMargins(m_rcTextPadding.isNull() ? QMargins(6, 0, 6, 0) : m_rcTextPadding);
    Qt::Alignment align = Qt::AlignVCenter;
    align |= (m_uTextStyle & AlignHCenter) ? Qt::AlignHCenter
             : (m_uTextStyle & AlignRight) ? Qt::AlignRight
                                            : Qt::AlignLeft;
    edit->setAlignment(align);
    if (edit->text() != m_sText)
        edit->setText(m_sText);
}

void CEditUI::OnTextChanged()
{
    if (auto* edit = EditOf(this)) {
        ApplyStateToWidget(edit);
        // The box may have cut the text to its maximum length.
        m_sText = edit->text();
    }
    Invalidate();
}
