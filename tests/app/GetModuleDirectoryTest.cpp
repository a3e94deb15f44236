#include "app/GetModuleDirectory.h"

#include <QCoreApplication>
#include <QDir>

#include <gtest/gtest.h>

TEST(GetModuleDirectory, IsTheExecutablesFolderWithTrailingSeparatorWhateverTheWorkingDirectory)
{
    const QString expected = QCoreApplication::applicationDirPath() + u'/';
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QDir::tempPath()));
    const QString folder = GetModuleDirectory();
    QDir::setCurrent(before);
    EXPECT_EQ(folder, expected);
    EXPECT_TRUE(folder.endsWith(u'/'));
}
