#include "backup/ImportPause.h"

#include <atomic>
#include <thread>

namespace {

std::atomic<std::chrono::milliseconds::rep> g_pauseMs{ImportPause::kDefaultLength.count()};

} // namespace

std::chrono::milliseconds ImportPause::Length()
{
    return std::chrono::milliseconds(g_pauseMs.load());
}

void ImportPause::SetLength(std::chrono::milliseconds length)
{
    g_pauseMs = length.count();
}

void ImportPause::Sleep()
{
    std::this_thread::sleep_for(Length());
}
