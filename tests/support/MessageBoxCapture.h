#pragma once

#include "ui/kit/MessageBox.h"

#include <QStringList>

#include <mutex>

// While it lives, message boxes are recorded instead of shown. Safe to read
// while other threads show messages.
class MessageBoxCapture {
public:
    MessageBoxCapture();
    ~MessageBoxCapture();
    MessageBoxCapture(const MessageBoxCapture&) = delete;
    MessageBoxCapture& operator=(const MessageBoxCapture&) = delete;

    QStringList Messages() const;
    // The messages so far, forgetting them.
    QStringList Take();
    void Clear();

private:
    mutable std::mutex m_mutex;
    QStringList m_messages;
    kit::MessageBoxHandler m_previous;
};
