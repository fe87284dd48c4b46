#include "support/sandbox.h"

#include <QProcess>

#include <gtest/gtest.h>

using pendra::test::Sandbox;

namespace {

struct ToolRun {
    int exitCode;
    QString out;
    QString err;
};

ToolRun reg(const QStringList& args) {
    QProcess process;
    process.start(QStringLiteral(PENDRA_REG_TOOL), args);
    process.waitForFinished(30000);
    return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

const QString kKey = QStringLiteral("HKLM\\Software\\velmora systeme gmbh\\Pendra\\1.0");

}  // namespace

TEST(PendraReg, AddQueryDeleteRoundTrip) {
    const Sandbox box;
    ToolRun run = reg({QStringLiteral("add"), kKey, QStringLiteral("/v"), QStringLiteral("WKen"),
                       QStringLiteral("/d"), QStringLiteral("1"), QStringLiteral("/f")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();

    run = reg({QStringLiteral("query"), kKey, QStringLiteral("/v"), QStringLiteral("wken")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("\n    wken    REG_SZ    1\n")))
        << run.out.toStdString();

    run = reg({QStringLiteral("add"), kKey, QStringLiteral("/v"), QStringLiteral("Pfad"),
               QStringLiteral("/d"), QStringLiteral("%ROOT%\\x"), QStringLiteral("/t"),
               QStringLiteral("REG_EXPAND_SZ"), QStringLiteral("/f")});
    ASSERT_EQ(run.exitCode, 0);
    run = reg({QStringLiteral("query"), QStringLiteral("HKLM\\Software\\velmora systeme gmbh")});
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_TRUE(
        run.out.contains(QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\velmora systeme "
                                        "gmbh\\Pendra\n")))
        << run.out.toStdString();

    run = reg({QStringLiteral("delete"), kKey, QStringLiteral("/v"), QStringLiteral("WKen"),
               QStringLiteral("/f")});
    ASSERT_EQ(run.exitCode, 0);
    run = reg({QStringLiteral("query"), kKey, QStringLiteral("/v"), QStringLiteral("WKen")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(run.err.isEmpty());

    ASSERT_EQ(reg({QStringLiteral("delete"), kKey, QStringLiteral("/f")}).exitCode, 0);
    EXPECT_EQ(reg({QStringLiteral("query"), kKey}).exitCode, 1);
}

TEST(PendraReg, OverwritingWithoutForceAndBadArgumentsAreRefused) {
    const Sandbox box;
    const QStringList add = {QStringLiteral("add"), kKey,
                             QStringLiteral("/v"),  QStringLiteral("WKen"),
                             QStringLiteral("/d"),  QStringLiteral("1")};
    ASSERT_EQ(reg(add).exitCode, 0);
    EXPECT_EQ(reg(add).exitCode, 2);
    EXPECT_EQ(reg({QStringLiteral("query"), QStringLiteral("HKCU\\Software")}).exitCode, 2);
    EXPECT_EQ(reg({QStringLiteral("delete"), kKey}).exitCode, 2);
    EXPECT_EQ(reg({QStringLiteral("add"), kKey, QStringLiteral("/t"), QStringLiteral("REG_DWORD")})
                  .exitCode,
              2);
}
