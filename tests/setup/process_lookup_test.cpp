#include "setup/process_lookup.h"
#include "platform/process_start.h"
#include "support/sandbox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

#include <signal.h>
#include <algorithm>
#include <array>

#include <gtest/gtest.h>

using namespace pendra::setup;
using pendra::platform::findProgram;
using pendra::platform::startDetached;
using pendra::test::Sandbox;

namespace {

// A program that runs until it is ended, installed under the uninstaller's name.
QString installSleeper(const QString& folder) {
    const QString sleeper = folder + QStringLiteral("/St6unst.exe");
    EXPECT_TRUE(QFile::copy(QStandardPaths::findExecutable(QStringLiteral("sleep")), sleeper));
    return sleeper;
}

// Polls like the installer runner, with a pause between lookups, until the lookup gives the
// expected id or the time is up; returns the last id found.
qint64 lookupSettling(const QString& name, qint64 expected) {
    qint64 found = FindProcessByName(name);
    for (int waited = 0; found != expected && waited < 5000; waited += 50) {
        QThread::msleep(50);
        found = FindProcessByName(name);
    }
    return found;
}

}  // namespace

TEST(FindProcessByName, FindsARunningProgramLetterCaseAsideAndNotAfterItEnded) {
    const Sandbox box;
    installSleeper(box.windowsFolder());
    EXPECT_EQ(FindProcessByName(QStringLiteral("st6unst.exe")), -1);

    qint64 first = 0;
    qint64 second = 0;
    ASSERT_TRUE(startDetached(QStringLiteral("st6unst.exe"), {QStringLiteral("60")}, &first));
    ASSERT_TRUE(startDetached(QStringLiteral("ST6UNST.EXE"), {QStringLiteral("60")}, &second));
    // The system lists processes by ascending id, and the first listed wins.
    EXPECT_EQ(lookupSettling(QStringLiteral("st6unst.exe"), std::min(first, second)),
              std::min(first, second));
    EXPECT_EQ(FindProcessByName(QStringLiteral("st6unst")), -1);

    ::kill(static_cast<pid_t>(std::min(first, second)), SIGTERM);
    EXPECT_EQ(lookupSettling(QStringLiteral("St6unst.exe"), std::max(first, second)),
              std::max(first, second));
    ::kill(static_cast<pid_t>(std::max(first, second)), SIGTERM);
    EXPECT_EQ(lookupSettling(QStringLiteral("st6unst.exe"), -1), -1);
}

TEST(GetTaskList, FillsNoMoreThanTheTableHolds) {
    std::array<TaskEntry, 2> table;
    EXPECT_EQ(GetTaskList(table), 2);
    EXPECT_GT(table[0].processId, 0);
    EXPECT_FALSE(table[1].processName.isEmpty());
}

TEST(FindProgram, SearchesTheWorkingWindowsAndPathFoldersLetterCaseAside) {
    const Sandbox box;
    const QString inWindows = installSleeper(box.windowsFolder());
    EXPECT_EQ(findProgram(QStringLiteral("st6UNST.exe")), inWindows);

    QDir().mkpath(box.path(QStringLiteral("arbeit")));
    const QString inWorking = installSleeper(box.path(QStringLiteral("arbeit")));
    const QString old = QDir::currentPath();
    QDir::setCurrent(box.path(QStringLiteral("arbeit")));
    EXPECT_EQ(QFileInfo(findProgram(QStringLiteral("St6unst.exe"))).canonicalFilePath(),
              QFileInfo(inWorking).canonicalFilePath());
    QDir::setCurrent(old);

    EXPECT_EQ(findProgram(QStringLiteral("sleep")),
              QStandardPaths::findExecutable(QStringLiteral("sleep")));
    box.writeFile(QStringLiteral("system/Windows/daten.txt"), "kein Programm");
    EXPECT_EQ(findProgram(QStringLiteral("daten.txt")), QString());
    EXPECT_FALSE(startDetached(QStringLiteral("fehlt.exe"), {}));
}
