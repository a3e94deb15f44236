#pragma once

#include <QString>

class CControlUI;
class CPaintManagerUI;
class IDialogBuilderCallback;

// Builds a control tree from an XML layout (format: ui/kit/LAYOUT.md). The
// <Window> element's settings and fonts go into the paint manager; tags the
// kit does not know are offered to the callback.
class CDialogBuilder {
public:
    // `file` is relative to the manager's resource folder (or absolute).
    // Returns the root control, or null when the file is missing or broken
    // (GetLastError says why). The caller attaches the root to the manager
    // (AttachDialog) or to `parent` if given (then the parent owns it).
    CControlUI* Create(const QString& file, IDialogBuilderCallback* callback = nullptr,
                       CPaintManagerUI* manager = nullptr, CControlUI* parent = nullptr);
    // Same from XML text.
    CControlUI* CreateFromText(const QString& xml, IDialogBuilderCallback* callback = nullptr,
                               CPaintManagerUI* manager = nullptr, CControlUI* parent = nullptr);
    QString GetLastError() const { return m_sLastError; }

private:
    QString m_sLastError;
};
