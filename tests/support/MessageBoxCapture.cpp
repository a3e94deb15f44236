#include "tests/support/MessageBoxCapture.h"

MessageBoxCapture::MessageBoxCapture()
{
    m_previous = kit::SetMessageBoxHandler([this](const QString& text) {
        std::lock_guard lock(m_mutex);
        m_messages.append(text);
    });
}

MessageBoxCapture::~MessageBoxCapture()
{
    kit::SetMessageBoxHandler(std::move(m_previous));
}

QStringList MessageBoxCapture::Messages() const
{
    std::lock_guard lock(m_mutex);
    return m_messages;
}

QStringList MessageBoxCapture::Take()
{
    std::lock_guard lock(m_mutex);
    return std::exchange(m_messages, QStringList());
}

void MessageBoxCapture::Clear()
{
    std::lock_guard lock(m_mutex);
    m_messages.clear();
}
