#include "backup/BackupProgress.h"

#include <algorithm>

BackupProgress::BackupProgress(qint64 total, int scale) : m_nTotal(total), m_nScale(scale) {}

std::optional<int> BackupProgress::Update(qint64 done)
{
    if (m_nTotal <= 0)
        return std::nullopt;
    const qint64 clamped = std::clamp<qint64>(done, 0, m_nTotal);
    const int percent = static_cast<int>(clamped * m_nScale / m_nTotal);
    if (percent == m_nLast)
        return std::nullopt;
    m_nLast = percent;
    return percent;
}
