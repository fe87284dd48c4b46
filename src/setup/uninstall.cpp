#include "setup/uninstall.h"

#include "common/PrivateProfile.h"
#include "platform/environment.h"
#include "platform/paths.h"
#include "platform/process_start.h"
#include "setup/directory_tree.h"
#include "setup/product_key.h"
#include "setup/search_path.h"
#include "setup/shortcut.h"

namespace pendra::setup {

namespace {

QString notRemoved(const QString& folder) {
    // "erforlgreich" of the page's lines and this text are what users know; keep them.
    return QStringLiteral("Der Ordner ") + folder +
           QStringLiteral(" konnte nicht entfernt werden! Löschen Sie den Ordner manuell.");
}

// The uninstaller is given by bare name and found by the program search, one run per log.
void startUninstallers(const QString& installed, RemovalOutcome& outcome) {
    const QString uninstaller = platform::findProgram(QStringLiteral("St6unst.exe"));
    if (uninstaller.isEmpty()) {
        return;
    }
    for (const char* log : {"St6unst.log", "St6unst.000", "St6unst.001"}) {
        qint64 id = 0;
        const QStringList arguments = {QStringLiteral("-n"),
                                       platform::joinPath(installed, QLatin1String(log)),
                                       QStringLiteral("-f"), QStringLiteral("-q")};
        if (platform::startDetached(uninstaller, arguments, &id)) {
            outcome.uninstallers.push_back(id);
        }
    }
}

void removeMainShortcuts(ui::MessageSink& messages) {
    const QString desktop = GetCommonFolder(QStringLiteral("Common Desktop"));
    if (desktop.isEmpty()) {
        messages.show(QStringLiteral(
            "Der Pfad zum Desktop konnte nicht festgestellt werden. Möglicherweise bleibt eine "
            "Quorbix Verknüpfung auf Ihrem Desktop. Löschen Sie diese manuell."));
        return;
    }
    const QString startMenu = GetCommonFolder(QStringLiteral("Common Start Menu"));
    if (startMenu.isEmpty()) {
        messages.show(QStringLiteral(
            "Der Pfad zum Startmenü konnte nicht festgestellt werden. Möglicherweise bleibt eine "
            "Quorbix Verknüpfung in Ihrem Startmenü. Löschen Sie diese manuell."));
        return;
    }
    DeleteShortcut(platform::joinPath(desktop, QStringLiteral("Pendra.lnk")));
    RemoveDirectoryTree(platform::joinPath(startMenu, QStringLiteral("Pendra")));
}

void removeMainApplication(ui::MessageSink& messages, const TurnOnLine& turnOn,
                           RemovalOutcome& outcome) {
    const QString installed = installationPath();
    startUninstallers(installed, outcome);
    if (removeFromSearchPath(installed)) {
        platform::announceEnvironmentChange();
    }
    if (RemoveDirectoryTree(installed) == 1) {
        for (const int line : {kLineMainRemoved, kLineRemovingDatev, kLineDatevRemoved,
                               kLineRemovingOnline, kLineOnlineRemoved}) {
            turnOn(line);
        }
    } else {
        messages.show(notRemoved(installed));
        outcome.failed = true;
    }
    removeMainInstallation();
    removeMainShortcuts(messages);
}

// The component's own entry below the start menu's "Pendra" folder; a start-menu folder of
// the component's name may belong to other software and stays.
bool removeComponentShortcut(const QString& shortcutFile, ui::MessageSink& messages) {
    const QString startMenu = GetCommonFolder(QStringLiteral("Common Start Menu"));
    if (startMenu.isEmpty()) {
        // Both components' messages name the DATEV shortcut, as users know them.
        messages.show(QStringLiteral(
            "Der Pfad zum Startmenü konnte nicht festgestellt werden. Möglicherweise bleibt eine "
            "Datev Verknüpfung in Ihrem Startmenü. Löschen Sie diese manuell."));
        return false;
    }
    DeleteShortcut(
        platform::joinPath(platform::joinPath(startMenu, QStringLiteral("Pendra")), shortcutFile));
    return true;
}

void setSetting(const QString& installDir, const char* section, const char* key,
                const QString& value) {
    common::PrivateProfile::WriteIniValue(
        QLatin1String(section), QLatin1String(key), value,
        platform::joinPath(installDir, QStringLiteral("Pendra.ini")));
}

void removeDatev(const QString& installDir, ui::MessageSink& messages, const TurnOnLine& turnOn,
                 RemovalOutcome& outcome) {
    turnOn(kLineRemovingDatev);
    const QString folder = platform::joinPath(installationPath(), QStringLiteral("Datev"));
    if (RemoveDirectoryTree(folder) != 1) {
        messages.show(notRemoved(folder));
        outcome.failed = true;
    }
    removeComponent(Component::Datev);
    setSetting(installDir, "Datev", "Datev_Path", QString());
    setSetting(installDir, "Datev", "Datev", QStringLiteral("Nein"));
    setSetting(installDir, "Datev", "Wken", QStringLiteral("1"));
    if (removeComponentShortcut(QStringLiteral("DatevTransfer.lnk"), messages)) {
        turnOn(kLineDatevRemoved);
    }
}

void removeOnline(const QString& installDir, ui::MessageSink& messages, const TurnOnLine& turnOn,
                  RemovalOutcome& outcome) {
    turnOn(kLineRemovingOnline);
    const QString folder = platform::joinPath(installationPath(), QStringLiteral("Online"));
    if (RemoveDirectoryTree(folder) == 1) {
        setSetting(installDir, "Online", "Prog", QString());
        setSetting(installDir, "Online", "Online", QStringLiteral("Nein"));
    } else {
        messages.show(notRemoved(folder));
        outcome.failed = true;
    }
    removeComponent(Component::Online);
    if (removeComponentShortcut(QStringLiteral("Homebanking.lnk"), messages)) {
        turnOn(kLineOnlineRemoved);
    }
}

}  // namespace

RemovalOutcome uninstall(const Removal& removal, const QString& installDir,
                         ui::MessageSink& messages, const TurnOnLine& turnOn) {
    RemovalOutcome outcome;
    turnOn(kLineRemovingMain);
    if (removal.mainApplication) {
        removeMainApplication(messages, turnOn, outcome);
        return outcome;
    }
    if (removal.datev) {
        removeDatev(installDir, messages, turnOn, outcome);
    }
    if (removal.online) {
        removeOnline(installDir, messages, turnOn, outcome);
    }
    return outcome;
}

}  // namespace pendra::setup
