#include "backup/BackupProgress.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> Reported(qint64 total, int scale, const std::vector<qint64>& steps)
{
    BackupProgress progress(total, scale);
    std::vector<int> values;
    for (qint64 done : steps) {
        if (const auto percent = progress.Update(done))
            values.push_back(*percent);
    }
    return values;
}

TEST(BackupProgressTest, ThreeRowsGive33And66And100)
{
    EXPECT_EQ(Reported(3, 100, {1, 2, 3}), (std::vector<int>{33, 66, 100}));
}

TEST(BackupProgressTest, ManyStepsGiveEachPercentOnceAndEndAtTheScale)
{
    std::vector<qint64> steps;
    for (qint64 done = 1; done <= 100000; ++done)
        steps.push_back(done);
    const std::vector<int> values = Reported(100000, 100, steps);
    ASSERT_EQ(values.size(), 100u);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(values[static_cast<size_t>(i)], i + 1);
}

TEST(BackupProgressTest, HalfScaleOfAFileLargerThan32BitsDoesNotOverflow)
{
    const qint64 size = 6'000'000'000;
    EXPECT_EQ(Reported(size, 50, {size / 2, size - 2}), (std::vector<int>{25, 49}));
}

TEST(BackupProgressTest, NoStepsGiveNothing)
{
    EXPECT_TRUE(Reported(0, 100, {0, 1}).empty());
}

} // namespace
