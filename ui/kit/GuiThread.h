#pragma once

#include <functional>

// Helpers for work that must happen on the GUI thread (the thread of the
// application object): widgets are created and changed there only.
namespace kit {

bool IsGuiThread();
// Posts `fn` to the GUI thread; it runs from its event loop (also when
// called on the GUI thread itself).
void PostToGuiThread(std::function<void()> fn);
// Runs `fn` on the GUI thread and returns when it is done: directly on the
// GUI thread, else queued while the caller waits.
void RunOnGuiThread(const std::function<void()>& fn);
// Waits until `done` holds, checking it every few milliseconds. On the GUI
// thread its events go on meanwhile, user input held back until the wait
// ends, so a worker being waited for can still run work there (a message,
// RunOnGuiThread) while the windows take no new commands.
void WaitProcessingEvents(const std::function<bool()>& done);

} // namespace kit
