#include "ui/kit/CNotifyPump.h"

#include "ui/kit/CControlUI.h"

void CNotifyPump::AddNotifyEntry(const QString& type, const QString& controlName, NotifyHandler handler)
{
    m_entries.push_back(Entry{type, controlName, std::move(handler)});
}

bool CNotifyPump::LoopDispatch(TNotifyUI& msg)
{
    const QString senderName = msg.pSender ? msg.pSender->GetName() : QString();
    for (auto it = m_entries.rbegin(); it != m_entries.rend(); ++it) {
        if (it->type != msg.sType)
            continue;
        if (!it->controlName.isEmpty() && it->controlName != senderName)
            continue;
        if (it->handler) {
            // Copied: the handler may close and delete this window.
            const NotifyHandler handler = it->handler;
            handler(msg);
        }
        return true;
    }
    return false;
}
