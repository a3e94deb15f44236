#pragma once

#include "ui/kit/CContainerUI.h"
#include "ui/kit/WindowImplBase.h"

#include <QString>

#include <functional>
#include <vector>

// A window of the test layouts that records what reaches it.
class KitTestWindow : public WindowImplBase {
public:
    struct Message {
        UINT uMsg;
        WPARAM wParam;
        LPARAM lParam;
    };

    explicit KitTestWindow(QString skinFile = QStringLiteral("Probe.xml"), bool* deleted = nullptr)
        : m_skinFile(std::move(skinFile)), m_pDeleted(deleted)
    {
    }
    ~KitTestWindow() override
    {
        if (m_pDeleted)
            *m_pDeleted = true;
    }

    QString WindowClassName() const override { return windowClass; }
    QString SkinFile() override { return m_skinFile; }
    void OnLayoutReady() override { ++layoutReadyCalls; }
    CControlUI* CreateControl(const QString& className) override
    {
        askedClasses.push_back(className);
        if (className == QLatin1String("Probe"))
            return new CContainerUI;
        return nullptr;
    }
    void Notify(TNotifyUI& msg) override
    {
        notifications.push_back(msg);
        if (onNotify)
            onNotify(msg);
        WindowImplBase::Notify(msg);
    }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        messages.push_back({uMsg, wParam, lParam});
        if (onMessage) {
            LRESULT result = 0;
            if (onMessage(uMsg, wParam, lParam, result))
                return result;
        }
        return WindowImplBase::HandleMessage(uMsg, wParam, lParam);
    }
    void OnFinalMessage(HWND) override
    {
        ++finalMessages;
        if (deleteOnFinal)
            delete this;
    }

    std::vector<Message> MessagesOf(UINT uMsg) const
    {
        std::vector<Message> found;
        for (const Message& m : messages)
            if (m.uMsg == uMsg)
                found.push_back(m);
        return found;
    }

    std::vector<TNotifyUI> notifications;
    std::vector<Message> messages;
    std::vector<QString> askedClasses;
    std::function<void(TNotifyUI&)> onNotify;
    // Answers true to stop the message with `result`.
    std::function<bool(UINT, WPARAM, LPARAM, LRESULT&)> onMessage;
    QString windowClass = QStringLiteral("KitTestWindow");
    int layoutReadyCalls = 0;
    int finalMessages = 0;
    bool deleteOnFinal = false;

private:
    QString m_skinFile;
    bool* m_pDeleted;
};
