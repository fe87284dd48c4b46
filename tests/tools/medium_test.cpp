#include "platform/paths.h"
#include "platform/process_list.h"
#include "platform/profile.h"
#include "support/demo_machine.h"
#include "support/sandbox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <csignal>
#include <vector>

using pendra::test::DemoMachine;
using pendra::test::Sandbox;

namespace {

const QString kMedium = QStringLiteral(PENDRA_MEDIUM_DIR);

struct ProgramRun {
    int exitCode = -1;
    QByteArray errors;
};

ProgramRun runProgram(
    const QString& program, const QStringList& arguments = {},
    const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardError()};
}

// The component's installer as the setup leaves it in a temporary folder: its three files and
// the installation folder in the copied "Setup.lst".
QString copyInstaller(const Sandbox& box, const QString& stem, const QString& installDir) {
    const QString temp = box.path(QStringLiteral("temp-") + stem);
    QDir().mkpath(temp);
    for (const QString& name : {QStringLiteral("setup.exe"), QStringLiteral("Setup.lst"),
                                stem + QStringLiteral(".CAB")}) {
        QFile::copy(kMedium + QLatin1Char('/') + stem + QLatin1Char('/') + name,
                    temp + QLatin1Char('/') + name);
    }
    pendra::platform::writePrivateProfileString(QStringLiteral("Setup"),
                                                QStringLiteral("DefaultDir"), installDir,
                                                temp + QStringLiteral("/Setup.lst"));
    return pendra::platform::resolvePath(temp + QStringLiteral("/Setup.exe"));
}

int install(const Sandbox& box, const QString& stem, const QString& installDir) {
    return runProgram(copyInstaller(box, stem, installDir)).exitCode;
}

ProgramRun uninstall(const Sandbox& box, const QString& log) {
    return runProgram(box.windowsFolder() + QStringLiteral("/St6unst.exe"),
                      {QStringLiteral("-n"), log, QStringLiteral("-f"), QStringLiteral("-q")});
}

QString windowsSetting(const Sandbox& box, const QString& section, const QString& key) {
    return pendra::platform::getPrivateProfileString(
        section, key, {}, 255, box.windowsFolder() + QStringLiteral("/Pendra.ini"));
}

qint64 rowCount(const QString& database, const char* table) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(database).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, (std::string("SELECT COUNT(*) FROM ") + table).c_str(), -1, &statement,
                       nullptr);
    const qint64 count =
        sqlite3_step(statement) == SQLITE_ROW ? sqlite3_column_int64(statement, 0) : -1;
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return count;
}

bool isProgram(const QString& path) {
    const QFileInfo info(path);
    return info.isFile() && !info.isSymLink() && info.isExecutable();
}

}  // namespace

TEST(Medium, HoldsTheSetupTheApplicationWithTheDemoDatabaseAndThreeInstallers) {
    EXPECT_TRUE(isProgram(kMedium + QStringLiteral("/setup")));
    EXPECT_TRUE(QFileInfo::exists(kMedium + QStringLiteral("/PendraProg/Pendra.mde")));
    EXPECT_TRUE(QFileInfo::exists(kMedium + QStringLiteral("/PendraProg/Pendra.ico")));
    const DemoMachine demo(DemoMachine::Data::Demo);
    const QString database = kMedium + QStringLiteral("/PendraProg/pendra/pendra.mde");
    EXPECT_GT(rowCount(database, "Buchung"), 0);
    EXPECT_EQ(rowCount(database, "Buchung"), rowCount(demo.database(), "Buchung"));
    for (const QString stem : {"PendraIni", "PendraTransfer", "Onlinebanking"}) {
        const QString folder = kMedium + QLatin1Char('/') + stem + QLatin1Char('/');
        EXPECT_TRUE(isProgram(folder + QStringLiteral("setup.exe"))) << stem.toStdString();
        EXPECT_TRUE(QFileInfo::exists(folder + QStringLiteral("Setup.lst"))) << stem.toStdString();
        EXPECT_TRUE(
            pendra::test::readBytes(folder + stem + QStringLiteral(".CAB")).startsWith("MSCF"))
            << stem.toStdString();
    }
}

TEST(ComponentInstaller, UnpacksIntoDefaultDirLogsUnderTheFirstFreeNameAndBringsTheUninstaller) {
    const Sandbox box;
    const QString installDir = box.path(QStringLiteral("Programme/Pendra"));
    box.writeFile(QStringLiteral("Programme/Pendra/St6unst.log"), "fremd\n");
    box.writeFile(QStringLiteral("aussen.txt"), "bleibt\n");
    QDir().mkpath(installDir + QStringLiteral("/Online"));
    QFile::link(box.path(QStringLiteral("aussen.txt")),
                installDir + QStringLiteral("/Online/Homebanking.exe"));

    ASSERT_EQ(install(box, QStringLiteral("PendraIni"), installDir + QLatin1Char('/')), 0);
    ASSERT_EQ(install(box, QStringLiteral("Onlinebanking"), installDir), 0);

    EXPECT_TRUE(isProgram(installDir + QStringLiteral("/Pendra.ini.exe")));
    EXPECT_TRUE(isProgram(box.windowsFolder() + QStringLiteral("/St6unst.exe")));
    EXPECT_EQ(box.readFile(QStringLiteral("Programme/Pendra/St6unst.log")), "fremd\n");
    EXPECT_TRUE(box.readFile(QStringLiteral("Programme/Pendra/St6unst.000"))
                    .contains(QFile::encodeName(installDir + QStringLiteral("/Pendra.ini.exe"))));
    EXPECT_TRUE(
        box.readFile(QStringLiteral("Programme/Pendra/St6unst.001"))
            .contains(QFile::encodeName(installDir + QStringLiteral("/Online/Homebanking.exe"))));
    EXPECT_EQ(box.readFile(QStringLiteral("aussen.txt")), "bleibt\n") << "written through a link";
    const ProgramRun banking = runProgram(installDir + QStringLiteral("/Online/Homebanking.exe"));
    EXPECT_EQ(banking.exitCode, 0);
}

TEST(ComponentInstaller, FailsWithAMessageWhenSetupLstNamesNoInstallationFolder) {
    const Sandbox box;
    const ProgramRun run = runProgram(copyInstaller(box, QStringLiteral("Onlinebanking"), {}));
    EXPECT_NE(run.exitCode, 0);
    EXPECT_FALSE(run.errors.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(box.windowsFolder() + QStringLiteral("/St6unst.exe")));
}

TEST(ComponentInstaller, TransferWritesTheMissingWindowsSettingsAndSt6unstTakesBackWhatWasLogged) {
    const Sandbox box;
    box.writeFile(QStringLiteral("system/Windows/Pendra.ini"), "[tmp_Path]\r\ntmp=/anderswo\r\n");
    box.writeFile(QStringLiteral("Programme/bleibt.txt"), "x");
    const QString installDir = box.path(QStringLiteral("Programme/Pendra/neu"));
    ASSERT_EQ(install(box, QStringLiteral("PendraTransfer"), installDir), 0);

    EXPECT_TRUE(isProgram(installDir + QStringLiteral("/Datev/Pendra_transfer.exe")));
    EXPECT_EQ(windowsSetting(box, "tmp_Path", "tmp"), QStringLiteral("/anderswo"));
    EXPECT_EQ(windowsSetting(box, "Pendra_Path", "Pendra"), installDir + QLatin1Char('/'));
    const QString datev = windowsSetting(box, "Datev", "datev");
    EXPECT_TRUE(datev.startsWith(installDir + QLatin1Char('/')));
    EXPECT_TRUE(QFileInfo(datev).isDir());

    QDir(datev).removeRecursively();  // already gone: passed over
    const ProgramRun run = uninstall(box, installDir + QStringLiteral("/st6unst.log"));
    EXPECT_EQ(run.exitCode, 0) << run.errors.constData();
    EXPECT_FALSE(QFileInfo::exists(box.path(QStringLiteral("Programme/Pendra"))));
    EXPECT_EQ(box.readFile(QStringLiteral("Programme/bleibt.txt")), "x");
    EXPECT_EQ(windowsSetting(box, "tmp_Path", "tmp"), QStringLiteral("/anderswo"));
    EXPECT_EQ(windowsSetting(box, "Pendra_Path", "Pendra"), QString());
    EXPECT_EQ(windowsSetting(box, "DATEV", "datev"), QString());
}

TEST(St6unst, RemovesWhatTheLogListsKeepsOtherFilesAndFollowsNoLink) {
    const Sandbox box;
    const QString installDir = box.path(QStringLiteral("Pendra"));
    ASSERT_EQ(install(box, QStringLiteral("PendraIni"), installDir), 0);
    ASSERT_EQ(install(box, QStringLiteral("Onlinebanking"), installDir), 0);
    box.writeFile(QStringLiteral("Pendra/notiz.txt"), "eigen");
    // The online folder now leads elsewhere: what lies there is not the installer's.
    box.writeFile(QStringLiteral("aussen/Homebanking.exe"), "fremd");
    QDir(installDir).rename(QStringLiteral("Online"), QStringLiteral("Online.alt"));
    QFile::link(box.path(QStringLiteral("aussen")), installDir + QStringLiteral("/Online"));

    const ProgramRun settingsEditor = uninstall(box, installDir + QStringLiteral("/St6unst.log"));
    const ProgramRun banking = uninstall(box, installDir + QStringLiteral("/St6unst.000"));

    EXPECT_EQ(settingsEditor.exitCode, 0) << settingsEditor.errors.constData();
    EXPECT_EQ(banking.exitCode, 0) << banking.errors.constData();
    EXPECT_FALSE(QFileInfo::exists(installDir + QStringLiteral("/Pendra.ini.exe")));
    EXPECT_FALSE(QFileInfo::exists(installDir + QStringLiteral("/St6unst.log")));
    EXPECT_EQ(box.readFile(QStringLiteral("Pendra/notiz.txt")), "eigen");
    EXPECT_EQ(box.readFile(QStringLiteral("aussen/Homebanking.exe")), "fremd");
    EXPECT_TRUE(QFileInfo(installDir + QStringLiteral("/Online")).isSymLink());

    const ProgramRun again = uninstall(box, installDir + QStringLiteral("/St6unst.log"));
    EXPECT_NE(again.exitCode, 0);
    EXPECT_FALSE(again.errors.isEmpty());
}

TEST(ComponentInstaller, HandsOverToARunningSt6unstAndEndsWithANonZeroCode) {
    const Sandbox box;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PENDRA_INSTALLER_HAND_OVER"), QStringLiteral("1"));
    const QString installer =
        copyInstaller(box, QStringLiteral("Onlinebanking"), box.path(QStringLiteral("Pendra")));

    const ProgramRun run = runProgram(installer, {}, environment);

    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(isProgram(box.path(QStringLiteral("Pendra/Online/Homebanking.exe"))));
    const QString uninstaller =
        QFileInfo(box.windowsFolder() + QStringLiteral("/St6unst.exe")).canonicalFilePath();
    const auto handedTo = [&uninstaller] {
        std::vector<qint64> ids;
        for (const auto& process : pendra::platform::runningProcesses(100000)) {
            const QString program =
                QFileInfo(QStringLiteral("/proc/%1/exe").arg(process.id)).symLinkTarget();
            if (program == uninstaller && process.programName.compare(QStringLiteral("st6unst.exe"),
                                                                      Qt::CaseInsensitive) == 0) {
                ids.push_back(process.id);
            }
        }
        return ids;
    };
    const std::vector<qint64> ids = handedTo();
    EXPECT_FALSE(ids.empty());
    // Ended before the test ends: other tests look for programs of that name.
    for (const qint64 id : ids) {
        ::kill(static_cast<pid_t>(id), SIGKILL);
    }
    for (int waited = 0; !handedTo().empty() && waited < 5000; waited += 20) {
        QThread::msleep(20);
    }
}
