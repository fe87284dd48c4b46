#include "setup/installer_runner.h"
#include "setup/process_lookup.h"
#include "support/sandbox.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace pendra::setup;
using pendra::test::Sandbox;

namespace {

// An installer that ends with `code`; with a hand-over it first starts `successor` (a copy of
// sleep) for a second. Each test has a successor name of its own: tests run side by side and
// the lookup sees every process of the machine.
QString installer(const Sandbox& box, int code, bool handOver, const QString& successor) {
    const QString uninstaller = box.path(successor);
    QFile::copy(QStringLiteral("/bin/sleep"), uninstaller);
    const QString body = handOver ? QStringLiteral("\"%1\" 1 &\n").arg(uninstaller) : QString();
    box.writeFile(QStringLiteral("Setup.exe"),
                  QStringLiteral("#!/bin/sh\n%1exit %2\n").arg(body).arg(code).toUtf8());
    const QString program = box.path(QStringLiteral("Setup.exe"));
    QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner);
    return program;
}

}  // namespace

TEST(RunInstaller, EndsWithTheInstallerOrFollowsItsHandOverUntilThatEnds) {
    const Sandbox box;
    const QString awaited = QStringLiteral("runnertest1.exe");
    const QString successor = QStringLiteral("RunnerTest1.exe");
    EXPECT_EQ(RunInstaller({installer(box, 0, false, successor), awaited, {}}), kInstallerEnded);

    EXPECT_EQ(RunInstaller({installer(box, 1, true, successor), awaited, {}}), kInstallerEnded);
    EXPECT_EQ(FindProcessByName(awaited), -1) << "returned before the awaited program ended";

    EXPECT_EQ(
        RunInstaller({installer(box, 1, true, successor), awaited, std::chrono::milliseconds(10)}),
        kWaitTimedOut);
    EXPECT_EQ(RunInstaller({box.path(QStringLiteral("fehlt.exe")), awaited, {}}),
              kInstallerNotStarted);
}

TEST(InstallerRun, TheWindowsThreadSeesNoResultUntilTheWorkerHasOne) {
    const Sandbox box;
    const QString successor = QStringLiteral("RunnerTest2.exe");
    const InstallerRun run({installer(box, 1, true, successor), successor, {}});
    ASSERT_TRUE(run.started());
    EXPECT_FALSE(run.result().has_value());
    EXPECT_EQ(run.waitForResult(), kInstallerEnded);
    EXPECT_EQ(run.result(), kInstallerEnded);
}
