// The whole suite from the installation medium: installed, used and removed again on a demo
// machine, without a window, as an administrator would.
#include "platform/registry_store.h"
#include "support/demo_machine.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

using pendra::platform::RegistryStore;
using pendra::platform::RegType;
using pendra::platform::RegValue;
using pendra::test::DemoMachine;
using pendra::test::ScopedEnv;

namespace {

const QString kEnvironment =
    QStringLiteral("System\\CurrentControlSet\\Control\\Session Manager\\Environment");
const QString kMaker = QStringLiteral("Software\\velmora systeme gmbh");

struct Finished {
    int exitCode = -1;
    QString output;
};

enum class LeakCheck { On, Off };

Finished runProgram(const QString& program, const QStringList& arguments,
                    LeakCheck leaks = LeakCheck::On) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    if (leaks == LeakCheck::Off) {
        // The driver manager unloads libraries whose allocations a leak checker then cannot
        // attribute; the transfer program's own tests check its code for leaks in-process.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
        process.setProcessEnvironment(environment);
    }
    process.start(program, arguments);
    if (!process.waitForFinished(100000)) {
        return {};
    }
    return {process.exitCode(), QString::fromUtf8(process.readAll())};
}

QStringList searchPathEntries(const RegValue& value) {
    return value.text().split(u';', Qt::SkipEmptyParts);
}

}  // namespace

TEST(SetupEndToEnd, InstallsEverythingExportsThroughItsDataSourceAndRemovesItAll) {
    const DemoMachine machine;
    const ScopedEnv tmp("TMPDIR", machine.tmpFolder());
    const RegistryStore store = RegistryStore::system();
    RegValue pathBefore;
    ASSERT_TRUE(store.queryValue(kEnvironment, QStringLiteral("Path"), &pathBefore).ok());
    const QString setup = QStringLiteral(PENDRA_MEDIUM_DIR "/setup");

    const Finished installed =
        runProgram(setup, {QStringLiteral("--unattended"), QStringLiteral("complete")});
    ASSERT_EQ(installed.exitCode, 0) << installed.output.toStdString();
    EXPECT_TRUE(installed.output.contains(QStringLiteral("ONLINE-Banking wurde installiert.")));
    const QString folder = machine.path(QStringLiteral("Programme/Pendra"));
    for (const char* file : {"Pendra.ini.exe", "Datev/Pendra_transfer.exe",
                             "Online/Homebanking.exe", "pendra/pendra.mde", "Pendra.ini"}) {
        EXPECT_TRUE(QFile::exists(folder + u'/' + QLatin1String(file))) << file;
    }
    for (const char* entry :
         {"Desktop/Pendra.desktop", "share/applications/Pendra/PendraInit.desktop",
          "share/applications/Pendra/DatevTransfer.desktop",
          "share/applications/Pendra/Homebanking.desktop"}) {
        EXPECT_TRUE(QFile::exists(machine.path(QLatin1String(entry)))) << entry;
    }

    // The installed transfer program reads the installed database through the data source
    // the finish page registered.
    const Finished exported = runProgram(
        folder + QStringLiteral("/Datev/Pendra_transfer.exe"),
        {QStringLiteral("--batch"), QStringLiteral("buchungen"), QStringLiteral("--yes")},
        LeakCheck::Off);
    EXPECT_EQ(exported.exitCode, 0) << exported.output.toStdString();
    EXPECT_TRUE(exported.output.contains(QStringLiteral("Es wurden insgesamt 440 Buchungssätze")))
        << exported.output.toStdString();
    const Finished again = runProgram(
        folder + QStringLiteral("/Datev/Pendra_transfer.exe"),
        {QStringLiteral("--batch"), QStringLiteral("buchungen"), QStringLiteral("--yes")},
        LeakCheck::Off);
    EXPECT_TRUE(again.output.contains(QStringLiteral("Keine Buchungsdaten vorhanden")))
        << "the marks stay in the installed database";

    const Finished removed =
        runProgram(setup, {QStringLiteral("--unattended"), QStringLiteral("uninstall")});
    EXPECT_EQ(removed.exitCode, 0) << removed.output.toStdString();
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_FALSE(store.keyExists(kMaker).ok()) << "the maker key held nothing else";
    EXPECT_FALSE(QFile::exists(machine.path(QStringLiteral("Desktop/Pendra.desktop"))));
    EXPECT_FALSE(QFileInfo::exists(machine.path(QStringLiteral("share/applications/Pendra"))));
    RegValue pathAfter;
    ASSERT_TRUE(store.queryValue(kEnvironment, QStringLiteral("Path"), &pathAfter).ok());
    EXPECT_EQ(pathAfter.type, RegType::ExpandString);
    EXPECT_EQ(searchPathEntries(pathAfter), searchPathEntries(pathBefore));
    // The finish page registers the data source again, below the removed folder.
    EXPECT_TRUE(machine.readFile(QStringLiteral("odbc/odbc.ini"))
                    .contains("DBQ=" + folder.toUtf8() + "/pendra/pendra.mde\n"));
}
