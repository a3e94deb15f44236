#pragma once

#include "ui/kit/TNotifyUI.h"

#include <QString>

#include <functional>
#include <vector>

// A notification map: entries of (type, control name) -> handler. An empty
// control name matches any sender. Entries added later take precedence, so
// a derived class's entries (added in its constructor) are tried before the
// entries of its bases; the first matching entry handles the notification.
class CNotifyPump {
public:
    using NotifyHandler = std::function<void(TNotifyUI&)>;

    CNotifyPump() = default;
    virtual ~CNotifyPump() = default;
    CNotifyPump(const CNotifyPump&) = delete;
    CNotifyPump& operator=(const CNotifyPump&) = delete;

    // Type and control name compare exactly (letter case counts).
    void AddNotifyEntry(const QString& type, const QString& controlName, NotifyHandler handler);

    // Runs the handler of the first matching entry; false when none matched.
    bool LoopDispatch(TNotifyUI& msg);

    // Same as LoopDispatch; the name the window base's Notify uses.
    bool NotifyPump(TNotifyUI& msg) { return LoopDispatch(msg); }

private:
    struct Entry {
        QString type;
        QString controlName;
        NotifyHandler handler;
    };
    std::vector<Entry> m_entries;
};
