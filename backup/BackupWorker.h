#pragma once

#include <atomic>
#include <functional>
#include <thread>

// The thread of one export or import. The window that owns it waits for it
// before it starts the next one and before it goes, so no worker outlives
// what it uses. Waiting on the GUI thread keeps its events going (user
// input held back), so the worker can still show its messages there.
class BackupWorker {
public:
    BackupWorker() = default;
    // Waits for a running worker.
    ~BackupWorker();
    BackupWorker(const BackupWorker&) = delete;
    BackupWorker& operator=(const BackupWorker&) = delete;

    // Runs `work` on a new thread, after waiting for the previous one.
    void Start(std::function<void()> work);
    // True from Start until the work has returned.
    bool IsRunning() const { return m_bRunning.load(); }
    // Returns once the work has returned and its thread has ended.
    void Wait();

private:
    std::thread m_thread;
    std::atomic<bool> m_bRunning{false};
};
