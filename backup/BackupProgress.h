#pragma once

#include <QtGlobal>

#include <optional>

// The whole percentage of a piece of work done in steps, given out only
// when it changes: a bar then moves at most once per per cent, however
// many steps there are, and the last step gives exactly the full scale.
class BackupProgress {
public:
    // `scale` is the percentage when all `total` steps are done (100, or 50
    // for work that fills only the first half of a bar). The bar starts at 0.
    explicit BackupProgress(qint64 total, int scale = 100);

    // The percentage after `done` steps (scale * done / total, truncated,
    // computed in 64 bits) when it differs from the last one given out;
    // nothing otherwise, and nothing when there are no steps at all.
    std::optional<int> Update(qint64 done);

private:
    qint64 m_nTotal;
    int m_nScale;
    int m_nLast = 0;
};
