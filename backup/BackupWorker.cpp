#include "backup/BackupWorker.h"

#include "ui/kit/GuiThread.h"

BackupWorker::~BackupWorker()
{
    Wait();
}

void BackupWorker::Start(std::function<void()> work)
{
    Wait();
    m_bRunning = true;
    m_thread = std::thread([this, work = std::move(work)] {
        work();
        m_bRunning = false;
    });
}

void BackupWorker::Wait()
{
    if (!m_thread.joinable())
        return;
    // A worker that waits itself for the GUI thread (to show a message) must
    // find it still running its events.
    kit::WaitProcessingEvents([this] { return !m_bRunning.load(); });
    // A wait nested in the events above may have joined it already.
    if (m_thread.joinable())
        m_thread.join();
}
