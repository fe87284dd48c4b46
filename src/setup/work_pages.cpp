#include "setup/work_pages.h"

#include "common/PrivateProfile.h"
#include "platform/paths.h"
#include "setup/component_installers.h"
#include "setup/directory_tree.h"
#include "setup/main_installation.h"
#include "setup/shortcut.h"
#include "setup/uninstall.h"

namespace pendra::setup {

namespace {

// The component page lines that appear as the run goes.
enum ComponentLine {
    kLineStarted = 1019,
    kLineInstalled = 1010,
    kLineNotStarted = 1021,
    kLineGoOn = 1020,
};

struct ComponentFacts {
    const char* heading;
    const char* started;
    const char* installed;
    const char* notStarted;
    const char* failureStart;
    const char* settingsSection;
    const char* shortcutFile;
    const char* target;
    const char* description;
    InstallerComponent installer;
};

const ComponentFacts& factsOf(Component component) {
    static const ComponentFacts datev{
        "DATEV-Schnittstellen Installation wird gestartet...",
        "DATEV-Schnittstelle wird installiert...",
        "DATEV-Schnittstelle wurde installiert.",
        "! DATEV-Schnittstellen - Setup konnte nicht gestartet werden !",
        "Das Datev-Schnittstellen - Setup konnte nicht gestartet werden! Rufen sie ",
        "Datev",
        "DatevTransfer.lnk",
        "Datev/Pendra_transfer.exe",
        "Datev_Transfer",
        InstallerComponent::Datev};
    static const ComponentFacts online{
        "ONLINE-Banking Installation wird gestartet...",
        "ONLINE-Banking wird installiert...",
        "ONLINE-Banking wurde installiert.",
        "! ONLINE-Banking - Setup konnte nicht gestartet werden !",
        "Das Onlinebanking - Setup konnte nicht gestartet werden! Rufen sie ",
        "Online",
        "Homebanking.lnk",
        "Online/Homebanking.exe",
        "Onlinebanking",
        InstallerComponent::Online};
    return component == Component::Datev ? datev : online;
}

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

}  // namespace

std::vector<StatusLine> mainInstallationLines() {
    return {
        {kLineInstalling, QStringLiteral("Pendra wird installiert, bitte warten...")},
        {kLineFilesCopied, QStringLiteral("Dateien werden kopiert ...")},
        {kLineEntriesWritten, QStringLiteral("Programmeinträge werden erzeugt ...")},
        {kLineShortcutsCreated, QStringLiteral("Verknüpfungen werden erstellt ...")},
        {kLineInstallationDone, QStringLiteral("Installation wurde erfolgreich abgeschlossen")}};
}

std::vector<StatusLine> uninstallLines() {
    // "erforlgreich" is the spelling users know from this page; keep it.
    const QString removed = QStringLiteral("Dateien wurden erforlgreich entfernt");
    return {{kLineRemovingMain, QStringLiteral("Pendra wird deinstalliert, bitte warten...")},
            {kLineMainRemoved, removed},
            {kLineRemovingDatev,
             QStringLiteral("Datevschnittstelle wird deinstalliert, bitte warten...")},
            {kLineDatevRemoved, removed},
            {kLineRemovingOnline,
             QStringLiteral("Onlinebanking-Schnittstelle wird deinstalliert, bitte warten...")},
            {kLineOnlineRemoved, removed}};
}

std::vector<StatusLine> componentLines(Component component) {
    const ComponentFacts& facts = factsOf(component);
    // "Kompenenten" is the spelling users know from this page; keep it.
    return {{0, text(facts.heading)},
            {kLineStarted, text(facts.started)},
            {kLineInstalled, text(facts.installed)},
            {kLineNotStarted, text(facts.notStarted)},
            {kLineGoOn, QStringLiteral("Klicken Sie auf Weiter um mit der Installation anderer "
                                       "Kompenenten fortzufahren.")}};
}

QStringList finishTexts() {
    return {QStringLiteral("Installation wurde erfolgreich abgeschlossen. "),
            QStringLiteral("Klicken Sie auf 'Beenden' um das Installationsprogramm zu verlassen.")};
}

RunnerParameter copiedInstaller() {
    return {temporaryDirectory() + QStringLiteral("Setup.exe"), QStringLiteral("st6unst.exe"),
            std::nullopt};
}

void recordComponent(const SetupContext& context, Component component) {
    const ComponentFacts& facts = factsOf(component);
    QString folder = context.installationDirectory;
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/'))) {
        folder.chop(1);
    }
    writeComponentInstalled(component);
    common::PrivateProfile::WriteIniValue(text(facts.settingsSection), text(facts.settingsSection),
                                          QStringLiteral("Ja"),
                                          platform::joinPath(folder, QStringLiteral("Pendra.ini")));
    const QString startMenu = GetCommonFolder(QStringLiteral("Common Start Menu"));
    if (startMenu.isEmpty()) {
        return;
    }
    const QString pendraMenu = platform::joinPath(startMenu, QStringLiteral("Pendra"));
    if (CreateDirectoryPath(pendraMenu) == 0) {
        CreateShortcut(platform::joinPath(folder, text(facts.target)),
                       platform::joinPath(pendraMenu, text(facts.shortcutFile)),
                       text(facts.description), QString(), folder,
                       platform::joinPath(folder, QStringLiteral("Pendra.ico")), 0);
    }
}

bool reportInstaller(int result, Component component, const SetupContext& context,
                     const TurnOnLine& turnOn) {
    const ComponentFacts& facts = factsOf(component);
    if (result == kInstallerEnded) {
        turnOn(kLineInstalled);
        turnOn(kLineGoOn);
        RemoveInstallerCopies(componentFolder(facts.installer));
        return false;
    }
    if (result == kAwaitedNotOpened) {
        // The installer handed over to a program that could not be watched: its end is
        // unknown, so the user is asked to check before going on.
        turnOn(kLineGoOn);
        context.messages.show(
            QStringLiteral("Das Ende der Installation konnte nicht abgewartet werden. Bitte "
                           "prüfen Sie, ob die Installation abgeschlossen ist, bevor Sie "
                           "fortfahren."),
            QStringLiteral("Fehler"), ui::Icon::Critical);
        return true;
    }
    turnOn(kLineNotStarted);
    turnOn(kLineGoOn);
    context.messages.show(
        text(facts.failureStart) + copiedInstaller().program + QStringLiteral(" direkt auf!"),
        QStringLiteral("Fehler"), ui::Icon::Critical);
    return true;
}

MainInstallationRun runMainInstallation(const SetupContext& context, const TurnOnLine& turnOn) {
    MainInstallationRun run{std::make_unique<InstallerRun>(copiedInstaller()), false};
    if (!run.settingsEditor->started()) {
        // "für des" is the message as users know it; keep it.
        context.messages.show(
            QStringLiteral("Das Setup für des Pendra_ini Programm konnte nicht gestartet werden"),
            QStringLiteral("Fehler"), ui::Icon::Critical);
        run.mayGoOn = true;
        return run;
    }
    run.mayGoOn = installMainApplication(context.sourceDirectory, context.installationDirectory,
                                         context.messages, turnOn);
    return run;
}

std::unique_ptr<InstallerRun> startComponentInstaller(Component component,
                                                      const SetupContext& context,
                                                      const TurnOnLine& turnOn) {
    auto run = std::make_unique<InstallerRun>(copiedInstaller());
    if (run->started()) {
        turnOn(kLineStarted);
    } else {
        reportInstaller(kInstallerNotStarted, component, context, turnOn);
    }
    return run;
}

}  // namespace pendra::setup
