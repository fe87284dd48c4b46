#include "platform/system_folders.h"
#include "support/sandbox.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace pendra::platform;
using pendra::test::Sandbox;
using pendra::test::ScopedEnv;

TEST(SystemFolders, TheWindowsFolderLiesInTheSystemRoot) {
    const Sandbox box;
    EXPECT_EQ(systemRoot(), box.systemRoot());
    EXPECT_EQ(getWindowsDirectory(255), box.windowsFolder());
}

TEST(SystemFolders, AFolderThatDoesNotFitTheBufferOrAnEmptyRootIsAFailure) {
    const Sandbox box;
    EXPECT_EQ(getWindowsDirectory(static_cast<int>(box.windowsFolder().size())), QString());
    const ScopedEnv noRoot("PENDRA_SYSTEM_ROOT", QString());
    EXPECT_EQ(getWindowsDirectory(255), QString());
}

TEST(SystemFolders, WorkingAndTemporaryFolders) {
    const Sandbox box;
    const QString old = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(box.path()));
    EXPECT_EQ(getCurrentDirectory(255), QDir::currentPath());
    EXPECT_EQ(getCurrentDirectory(2), QString());
    QDir::setCurrent(old);
    {
        const ScopedEnv tmp("TMPDIR", box.path());
        EXPECT_EQ(getTempPath(255), box.path());
    }
}
