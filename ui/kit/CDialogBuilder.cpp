#include "ui/kit/CDialogBuilder.h"

#include "ui/kit/AttributeParsing.h"
#include "ui/kit/CButtonUI.h"
#include "ui/kit/CContainerUI.h"
#include "ui/kit/CDateTimeUI.h"
#include "ui/kit/CEditUI.h"
#include "ui/kit/CHorizontalLayoutUI.h"
#include "ui/kit/CLabelUI.h"
#include "ui/kit/CListUI.h"
#include "ui/kit/COptionUI.h"
#include "ui/kit/CPaintManagerUI.h"
#include "ui/kit/CProgressUI.h"
#include "ui/kit/CTabLayoutUI.h"
#include "ui/kit/CVerticalLayoutUI.h"
#include "ui/kit/CWebBrowserUI.h"
#include "ui/kit/IDialogBuilderCallback.h"

#include <QFile>
#include <QXmlStreamReader>

#include <memory>

namespace {

CControlUI* CreateKnownControl(const QString& tag)
{
    const QString t = tag.toLower();
    if (t == QLatin1String("control"))
        return new CControlUI;
    if (t == QLatin1String("container"))
        return new CContainerUI;
    if (t == QLatin1String("verticallayout"))
        return new CVerticalLayoutUI;
    if (t == QLatin1String("horizontallayout"))
        return new CHorizontalLayoutUI;
    if (t == QLatin1String("tablayout"))
        return new CTabLayoutUI;
    if (t == QLatin1String("label") || t == QLatin1String("text"))
        return new CLabelUI;
    if (t == QLatin1String("button"))
        return new CButtonUI;
    if (t == QLatin1String("option"))
        return new COptionUI;
    if (t == QLatin1String("edit"))
        return new CEditUI;
    if (t == QLatin1String("datetime"))
        return new CDateTimeUI;
    if (t == QLatin1String("list"))
        return new CListUI;
    if (t == QLatin1String("progress"))
        return new CProgressUI;
    if (t == QLatin1String("webbrowser"))
        return new CWebBrowserUI;
    return nullptr;
}

class LayoutReader {
public:
    LayoutReader(QXmlStreamReader& xml, IDialogBuilderCallback* callback, CPaintManagerUI* manager)
        : m_xml(xml), m_pCallback(callback), m_pManager(manager)
    {
    }

    CControlUI* Read(CControlUI* parent, QString& error)
    {
        CControlUI* root = nullptr;
        while (!m_xml.atEnd()) {
            if (m_xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            const QString tag = m_xml.name().toString();
            if (tag.compare(QLatin1String("Window"), Qt::CaseInsensitive) == 0) {
                ReadWindowAttributes();
                continue;
            }
            if (tag.compare(QLatin1String("Font"), Qt::CaseInsensitive) == 0) {
                ReadFont();
                continue;
            }
            if (tag.compare(QLatin1String("Default"), Qt::CaseInsensitive) == 0
                || tag.compare(QLatin1String("Image"), Qt::CaseInsensitive) == 0) {
                m_xml.skipCurrentElement();
                continue;
            }
            root = ReadControl(tag, parent);
            break;
        }
        if (m_xml.hasError()) {
            error = m_xml.errorString() + QStringLiteral(" (line %1)").arg(m_xml.lineNumber());
            if (root && !parent)
                delete root;
            return nullptr;
        }
        if (!root)
            error = QStringLiteral("the layout holds no control");
        return root;
    }

private:
    void ReadWindowAttributes()
    {
        if (!m_pManager)
            return;
        for (const QXmlStreamAttribute& attr : m_xml.attributes()) {
            const QString name = attr.name().toString();
            const QString value = attr.value().toString();
            if (name == QLatin1String("size")) {
                const QSize size = kit::ParseSize(value);
                m_pManager->SetInitSize(size.width(), size.height());
            } else if (name == QLatin1String("mininfo")) {
                const QSize size = kit::ParseSize(value);
                m_pManager->SetMinInfo(size.width(), size.height());
            } else if (name == QLatin1String("caption")) {
                const QMargins m = kit::ParseMargins(value);
                m_pManager->SetCaptionRect(QRect(QPoint(m.left(), m.top()), QPoint(m.right(), m.bottom())));
            } else if (name == QLatin1String("roundcorner")) {
                const QSize size = kit::ParseSize(value);
                m_pManager->SetRoundCorner(size.width(), size.height());
            } else if (name == QLatin1String("bkcolor")) {
                m_pManager->SetWindowBkColor(kit::ParseColor(value));
            } else if (name == QLatin1String("defaultfontcolor")) {
                m_pManager->SetDefaultFontColor(kit::ParseColor(value));
            } else if (name == QLatin1String("disabledfontcolor")) {
                m_pManager->SetDefaultDisabledColor(kit::ParseColor(value));
            }
        }
    }

    void ReadFont()
    {
        const QXmlStreamAttributes attrs = m_xml.attributes();
        m_xml.skipCurrentElement();
        if (!m_pManager)
            return;
        const int index = attrs.hasAttribute(QLatin1String("id"))
                              ? kit::ParseInt(attrs.value(QLatin1String("id")).toString(), m_nNextFont)
                              : m_nNextFont;
        m_nNextFont = index + 1;
        QString family = attrs.value(QLatin1String("name")).toString();
        if (family.isEmpty())
            family = QStringLiteral("WenQuanYi Micro Hei");
        QFont font(family);
        font.setPixelSize(kit::ParseInt(attrs.value(QLatin1String("size")).toString(), 13));
        font.setBold(kit::ParseBool(attrs.value(QLatin1String("bold")).toString()));
        font.setItalic(kit::ParseBool(attrs.value(QLatin1String("italic")).toString()));
        font.setUnderline(kit::ParseBool(attrs.value(QLatin1String("underline")).toString()));
        font.setStyleStrategy(QFont::PreferAntialias);
        m_pManager->AddFont(index, font, kit::ParseBool(attrs.value(QLatin1String("default")).toString()));
    }

    void ReadListHeader(CListUI* list)
    {
        while (m_xml.readNextStartElement()) {
            if (m_xml.name().toString().compare(QLatin1String("ListHeaderItem"), Qt::CaseInsensitive) == 0) {
                const QXmlStreamAttributes attrs = m_xml.attributes();
                list->AddColumn(attrs.value(QLatin1String("text")).toString(),
                                kit::ParseInt(attrs.value(QLatin1String("width")).toString()));
            }
            m_xml.skipCurrentElement();
        }
    }

    // Reads the element just started (tag), its attributes and children.
    CControlUI* ReadControl(const QString& tag, CControlUI* parent)
    {
        CControlUI* control = CreateKnownControl(tag);
        if (!control && m_pCallback)
            control = m_pCallback->CreateControl(tag);
        if (!control) {
            qWarning("Kestrin layout: no control for <%s>; element skipped", qUtf8Printable(tag));
            m_xml.skipCurrentElement();
            return nullptr;
        }
        auto* parentContainer = parent ? dynamic_cast<CContainerUI*>(parent) : nullptr;
        if (parentContainer)
            parentContainer->Add(control);
        else if (m_pManager)
            control->SetManager(m_pManager, nullptr);

        for (const QXmlStreamAttribute& attr : m_xml.attributes())
            control->SetAttribute(attr.name().toString(), attr.value().toString());

        auto* list = dynamic_cast<CListUI*>(control);
        while (m_xml.readNextStartElement()) {
            const QString childTag = m_xml.name().toString();
            if (list && childTag.compare(QLatin1String("ListHeader"), Qt::CaseInsensitive) == 0) {
                ReadListHeader(list);
                continue;
            }
            if (!dynamic_cast<CContainerUI*>(control)) {
                qWarning("Kestrin layout: <%s> cannot hold <%s>; element skipped", qUtf8Printable(tag),
                         qUtf8Printable(childTag));
                m_xml.skipCurrentElement();
                continue;
            }
            ReadControl(childTag, control);
        }
        return control;
    }

    QXmlStreamReader& m_xml;
    IDialogBuilderCallback* m_pCallback;
    CPaintManagerUI* m_pManager;
    int m_nNextFont = 0;
};

} // namespace

CControlUI* CDialogBuilder::Create(const QString& file, IDialogBuilderCallback* callback,
                                   CPaintManagerUI* manager, CControlUI* parent)
{
    QString path = file;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (manager)
        path = manager->ResolvePath(path);
    QFile input(path);
    if (!input.open(QIODevice::ReadOnly)) {
        m_sLastError = QStringLiteral("cannot read the layout %1").arg(path);
        return nullptr;
    }
    return CreateFromText(QString::fromUtf8(input.readAll()), callback, manager, parent);
}

CControlUI* CDialogBuilder::CreateFromText(const QString& xml, IDialogBuilderCallback* callback,
                                           CPaintManagerUI* manager, CControlUI* parent)
{
    m_sLastError.clear();
    QXmlStreamReader reader(xml);
    LayoutReader layout(reader, callback, manager);
    return layout.Read(parent, m_sLastError);
}
