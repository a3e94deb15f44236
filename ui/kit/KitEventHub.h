#pragma once

#include <QObject>

class QKeyEvent;
class QWidget;

namespace kit {

class WindowWidget;

// The kit's application-wide event filter (one per process, GUI thread):
// - keys pressed while a kit window's own focus is on the window or on a
//   control that does not edit text become WM_KEYDOWN / WM_CHAR first;
// - input to a window blocked by a modal window it owns is dropped;
// - the last mouse position in a window is recorded for notifications;
// - a window losing the keyboard focus to another window gets WM_KILLFOCUS.
class KitEventHub : public QObject {
    Q_OBJECT
public:
    static void Install();

    // Marks a widget whose keys belong to it (edit boxes, date fields,
    // the browser): they never become window messages.
    static void SetOwnsKeys(QWidget* widget);
    static bool OwnsKeys(QWidget* widget, QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit KitEventHub(QObject* parent);
    bool HandleKeyPress(WindowWidget* window, QWidget* receiver, QKeyEvent* event);
    void OnFocusChanged(QWidget* old, QWidget* now);
};

} // namespace kit
