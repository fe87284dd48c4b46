#include "platform/profile.h"
#include "platform/registry_store.h"
#include "setup/main_installation.h"
#include "setup/product_key.h"
#include "setup/uninstall.h"
#include "support/sandbox.h"
#include "ui/recording_message_sink.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <vector>

using namespace pendra::setup;
using pendra::platform::RegistryStore;
using pendra::platform::RegType;
using pendra::platform::RegValue;
using pendra::test::Sandbox;
using pendra::test::ScopedEnv;
using pendra::ui::RecordingMessageSink;

namespace {

const QString kShellFolders =
    QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");
const QString kEnvironment =
    QStringLiteral("System\\CurrentControlSet\\Control\\Session Manager\\Environment");
const QString kProduct = QStringLiteral("Software\\velmora systeme gmbh\\Pendra\\1.0");

// A machine with desktop, start menu and an expandable search path, and a medium whose
// application files include a read-only one in a subfolder.
struct Machine {
    Sandbox box;
    mutable RegistryStore store = RegistryStore::system();
    QString medium = box.path(QStringLiteral("medium"));
    QString installDir = box.path(QStringLiteral("Programme/Pendra/"));

    explicit Machine(bool shellFolders = true) {
        if (shellFolders) {
            QDir().mkpath(box.path(QStringLiteral("Desktop")));
            setValue(kShellFolders, "Common Desktop", box.path(QStringLiteral("Desktop/")));
            setValue(kShellFolders, "Common Start Menu", box.path(QStringLiteral("Startmenü")));
        }
        setValue(kEnvironment, "Path", QStringLiteral("%SystemRoot%;/usr/bin;"),
                 RegType::ExpandString);
        box.writeFile(QStringLiteral("medium/PendraProg/Pendra.mde"), "mde");
        box.writeFile(QStringLiteral("medium/PendraProg/pendra/pendra.mde"), "db");
        QFile::setPermissions(box.path(QStringLiteral("medium/PendraProg/pendra/pendra.mde")),
                              QFile::ReadOwner);
    }
    void setValue(const QString& key, const char* name, const QString& data,
                  RegType type = RegType::String) const {
        store.createKey(key);
        store.setValue(key, QLatin1String(name), RegValue::fromText(data, type));
    }
    RegValue value(const QString& key, const char* name) const {
        RegValue result;
        store.queryValue(key, QLatin1String(name), &result);
        return result;
    }
    std::vector<int> install(RecordingMessageSink& messages) const {
        std::vector<int> lines;
        installMainApplication(medium, installDir, messages, [&](int id) { lines.push_back(id); });
        return lines;
    }
    QString settings(const char* section, const char* key) const {
        return pendra::platform::getPrivateProfileString(QLatin1String(section), QLatin1String(key),
                                                         QStringLiteral("?"), 255,
                                                         installDir + QStringLiteral("Pendra.ini"));
    }
};

}  // namespace

TEST(MainInstallation, InstallsFilesKeySettingsShortcutsAndSearchPathLineByLine) {
    const Machine machine;
    RecordingMessageSink messages;
    EXPECT_EQ(machine.install(messages),
              (std::vector<int>{kLineFilesCopied, kLineEntriesWritten, kLineShortcutsCreated,
                                kLineInstallationDone}));
    EXPECT_TRUE(messages.messages().empty());

    const QFileInfo database(machine.installDir + QStringLiteral("pendra/pendra.mde"));
    EXPECT_TRUE(database.isWritable());
    EXPECT_TRUE(mainApplicationInstalled());
    EXPECT_EQ(installationPath(), machine.box.path(QStringLiteral("Programme/Pendra")));
    EXPECT_EQ(machine.value(kProduct, "Online").text(), QStringLiteral("Nein"));

    EXPECT_TRUE(QFile::exists(machine.box.path(QStringLiteral("Desktop/Pendra.desktop"))));
    EXPECT_TRUE(
        QFile::exists(machine.box.path(QStringLiteral("Startmenü/Pendra/PendraInit.desktop"))));
    EXPECT_EQ(machine.settings("Pendra_Path", "Db"),
              machine.installDir + QStringLiteral("Tabellen/"));
    EXPECT_EQ(machine.settings("Vorlagen", "fax"),
              machine.installDir + QStringLiteral("Vorlagen/fax.doc"));
    EXPECT_EQ(machine.settings("EDI", "RePath"), QString());
    const QByteArray ini = machine.box.readFile(QStringLiteral("Programme/Pendra/Pendra.ini"));
    EXPECT_EQ(ini.count("\r\n"), 17 + 7);  // 17 entries in 7 sections
    EXPECT_LT(ini.indexOf("[Datev]"), ini.indexOf("[EDI]"));

    const RegValue path = machine.value(kEnvironment, "Path");
    EXPECT_EQ(path.type, RegType::ExpandString);
    EXPECT_EQ(path.text(),
              QStringLiteral("%SystemRoot%;/usr/bin;") + installationPath() + QStringLiteral(";"));
    machine.install(messages);
    EXPECT_EQ(machine.value(kEnvironment, "Path").text().count(installationPath()), 2);
}

TEST(MainInstallation, AFolderThatCannotBeMadeStopsEverythingAndNoShellFoldersMeansNoShortcuts) {
    const Machine bare(false);
    RecordingMessageSink messages;
    EXPECT_EQ(bare.install(messages),
              (std::vector<int>{kLineFilesCopied, kLineEntriesWritten, kLineInstallationDone}));
    EXPECT_TRUE(messages.messages().empty());

    Machine blocked;
    blocked.box.writeFile(QStringLiteral("Programme"), "a file where a folder should be");
    const std::vector<int> lines = blocked.install(messages);
    EXPECT_TRUE(lines.empty());
    ASSERT_EQ(messages.messages().size(), 1U);
    EXPECT_EQ(
        messages.messages()[0].text,
        QStringLiteral("Das Zielverzeichnis") + blocked.installDir +
            QStringLiteral("konnte nicht erstellt werden! Die Installation wurde abgebrochen."));
    EXPECT_EQ(messages.messages()[0].caption, QStringLiteral("Fehler"));
    EXPECT_FALSE(mainApplicationInstalled());
}

TEST(Uninstall, MainApplicationTakesFolderKeyShortcutsAndSearchPathEntry) {
    const Machine machine;
    machine.setValue(QStringLiteral("Software\\velmora systeme gmbh\\Anderes"), "x",
                     QStringLiteral("y"));
    RecordingMessageSink messages;
    machine.install(messages);
    std::vector<int> lines;
    const RemovalOutcome outcome = uninstall({true, false, false}, installationPath(), messages,
                                             [&](int id) { lines.push_back(id); });
    EXPECT_FALSE(outcome.failed);
    EXPECT_TRUE(messages.messages().empty());
    EXPECT_EQ(lines.size(), 6U);
    EXPECT_FALSE(QFileInfo::exists(machine.installDir));
    EXPECT_FALSE(QFile::exists(machine.box.path(QStringLiteral("Desktop/Pendra.desktop"))));
    EXPECT_FALSE(QFileInfo::exists(machine.box.path(QStringLiteral("Startmenü/Pendra"))));
    EXPECT_FALSE(machine.store.keyExists(kProduct).ok());
    EXPECT_TRUE(machine.store.keyExists(QStringLiteral("Software\\velmora systeme gmbh")).ok());
    const RegValue path = machine.value(kEnvironment, "Path");
    EXPECT_EQ(path.text(), QStringLiteral("%SystemRoot%;/usr/bin;"));
    EXPECT_EQ(path.type, RegType::ExpandString);
}

TEST(Uninstall, AFolderThatStaysIsReportedAndTheRestGoesAllTheSame) {
    const Machine machine;
    RecordingMessageSink messages;
    machine.install(messages);
    const QString installed = installationPath();
    // A home folder inside the installation is never removed.
    QDir().mkpath(machine.installDir + QStringLiteral("home"));
    const ScopedEnv home("HOME", machine.installDir + QStringLiteral("home"));
    const RemovalOutcome outcome = uninstall({true, false, false}, installed, messages, [](int) {});
    EXPECT_TRUE(outcome.failed);
    ASSERT_EQ(messages.messages().size(), 1U);
    EXPECT_EQ(messages.messages()[0].text,
              QStringLiteral("Der Ordner ") + installed +
                  QStringLiteral(" konnte nicht entfernt werden! Löschen Sie den Ordner manuell."));
    EXPECT_FALSE(machine.store.keyExists(kProduct).ok());
    EXPECT_FALSE(QFile::exists(machine.box.path(QStringLiteral("Desktop/Pendra.desktop"))));
}

TEST(Uninstall, OnlineBankingWhoseFolderStaysKeepsItsSettingsButLosesItsKeyValue) {
    const Machine machine;
    RecordingMessageSink messages;
    machine.install(messages);
    const QString installed = installationPath();
    writeComponentInstalled(Component::Online);
    writeComponentInstalled(Component::Datev);
    pendra::platform::writePrivateProfileString(QStringLiteral("Online"), QStringLiteral("Online"),
                                                QStringLiteral("Ja"),
                                                machine.installDir + QStringLiteral("Pendra.ini"));
    QDir().mkpath(machine.installDir + QStringLiteral("Online/home"));
    const ScopedEnv home("HOME", machine.installDir + QStringLiteral("Online/home"));
    QDir().mkpath(machine.box.path(QStringLiteral("Startmenü/Pendra")));
    machine.box.writeFile(QStringLiteral("Startmenü/Pendra/Homebanking.desktop"), "x");
    machine.box.writeFile(QStringLiteral("Startmenü/Online/fremd.desktop"), "foreign");

    std::vector<int> lines;
    const RemovalOutcome outcome =
        uninstall({false, false, true}, installed, messages, [&](int id) { lines.push_back(id); });
    EXPECT_TRUE(outcome.failed);
    EXPECT_EQ(lines,
              (std::vector<int>{kLineRemovingMain, kLineRemovingOnline, kLineOnlineRemoved}));
    EXPECT_EQ(machine.settings("Online", "Online"), QStringLiteral("Ja"));
    EXPECT_FALSE(componentInstalled(Component::Online));
    EXPECT_TRUE(componentInstalled(Component::Datev));
    EXPECT_TRUE(mainApplicationInstalled());
    EXPECT_FALSE(
        QFile::exists(machine.box.path(QStringLiteral("Startmenü/Pendra/Homebanking.desktop"))));
    EXPECT_TRUE(QFile::exists(machine.box.path(QStringLiteral("Startmenü/Online/fremd.desktop"))));
}
