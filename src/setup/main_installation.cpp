#include "setup/main_installation.h"

#include "common/PrivateProfile.h"
#include "platform/environment.h"
#include "platform/paths.h"
#include "setup/RegistryKey.h"
#include "setup/directory_tree.h"
#include "setup/product_key.h"
#include "setup/search_path.h"
#include "setup/shortcut.h"

#include <array>

namespace pendra::setup {

namespace {

const QString kError = QStringLiteral("Fehler");

QString withOneSeparator(QString folder) {
    while (folder.endsWith(QLatin1Char('/'))) {
        folder.chop(1);
    }
    return folder + QLatin1Char('/');
}

// The folder and the application's files. Returns false when the folder could not be made.
bool copyFiles(const QString& mediumFolder, const QString& folder, ui::MessageSink& messages,
               const TurnOnLine& turnOn) {
    if (CreateDirectoryPath(folder) != 0) {
        messages.show(QStringLiteral("Das Zielverzeichnis") + folder +
                          QStringLiteral("konnte nicht erstellt werden! Die Installation wurde "
                                         "abgebrochen."),
                      kError, ui::Icon::Critical);
        return false;
    }
    if (CopyDirectoryTree(platform::joinPath(mediumFolder, QStringLiteral("PendraProg")), folder) !=
        0) {
        // "kopiert" without "werden" is the message users know; keep it.
        messages.show(QStringLiteral("Dateien konnten nicht ins Installationsverzeichnis kopiert"),
                      kError, ui::Icon::Critical);
    } else {
        turnOn(kLineFilesCopied);
    }
    return true;
}

int applicationShortcut(const QString& installDir, const QString& target, const QString& file,
                        const QString& description) {
    return CreateShortcut(platform::joinPath(installDir, target), file, description, QString(),
                          installDir, platform::joinPath(installDir, QStringLiteral("Pendra.ico")),
                          0);
}

void createShortcuts(const QString& installDir, const TurnOnLine& turnOn) {
    const QString mde = QStringLiteral("Pendra.mde");
    const QString desktop = GetCommonFolder(QStringLiteral("Common Desktop"));
    if (!desktop.isEmpty() &&
        applicationShortcut(installDir, mde,
                            platform::joinPath(desktop, QStringLiteral("Pendra.lnk")),
                            QStringLiteral("Pendra")) == 1) {
        turnOn(kLineShortcutsCreated);
    }
    const QString startMenu = GetCommonFolder(QStringLiteral("Common Start Menu"));
    if (startMenu.isEmpty()) {
        return;
    }
    const QString folder = platform::joinPath(startMenu, QStringLiteral("Pendra"));
    if (CreateDirectoryPath(folder) == 0) {
        applicationShortcut(installDir, mde,
                            platform::joinPath(folder, QStringLiteral("Pendra.lnk")),
                            QStringLiteral("Pendra"));
        applicationShortcut(installDir, QStringLiteral("Pendra.ini.exe"),
                            platform::joinPath(folder, QStringLiteral("PendraInit.lnk")),
                            QStringLiteral("Pendra_Init"));
    }
}

struct Entry {
    const char* section;
    const char* key;
    QString value;
};

// The first settings file of the installation, entry by entry in the order users know.
void writeSettingsFile(const QString& folder) {
    const std::array<Entry, 17> entries{{
        {"Pendra_Path", "Pendra", folder},
        {"Pendra_Path", "Anwendung", QStringLiteral("Pendra.mde")},
        {"Pendra_Path", "Db", folder + QStringLiteral("Tabellen/")},
        {"Pendra_Path", "DbName", QStringLiteral("Pendra_db.mdb")},
        {"Pendra_Path", "Erstaufruf", QStringLiteral("Ja")},
        {"Datev", "Datev_Path", folder + QStringLiteral("Datev/")},
        {"Datev", "Datev", QStringLiteral("Nein")},
        {"Datev", "Wken", QStringLiteral("1")},
        {"tmp_Path", "tmp", folder + QStringLiteral("tmp")},
        {"office", "word", QString()},
        {"Vorlagen", "Vorlagen", folder + QStringLiteral("Vorlagen")},
        {"Vorlagen", "fax", folder + QStringLiteral("Vorlagen/fax.doc")},
        {"Vorlagen", "brief", folder + QStringLiteral("Vorlagen/brief.doc")},
        {"Vorlagen", "Path", folder + QStringLiteral("Vorlagen")},
        {"Online", "Online", QStringLiteral("Nein")},
        {"Online", "Prog", QString()},
        {"EDI", "RePath", QString()},
    }};
    const QString file = folder + QStringLiteral("Pendra.ini");
    for (const Entry& entry : entries) {
        common::PrivateProfile::WriteIniValue(QLatin1String(entry.section),
                                              QLatin1String(entry.key), entry.value, file);
    }
}

void extendSearchPath() {
    const QString installed = installationPath();
    // A product key that could not be written gives the read marker, which must never
    // become part of the search path.
    if (installed != RegistryKey::readFailed() && appendToSearchPath(installed)) {
        platform::announceEnvironmentChange();
    }
}

}  // namespace

bool installMainApplication(const QString& mediumFolder, const QString& installDir,
                            ui::MessageSink& messages, const TurnOnLine& turnOn) {
    const QString folder = withOneSeparator(installDir);
    if (!copyFiles(mediumFolder, folder, messages, turnOn)) {
        return false;
    }
    writeMainInstallation(installDir);
    turnOn(kLineEntriesWritten);
    createShortcuts(installDir, turnOn);
    writeSettingsFile(folder);
    extendSearchPath();
    turnOn(kLineInstallationDone);
    return true;
}

}  // namespace pendra::setup
