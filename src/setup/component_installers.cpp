#include "setup/component_installers.h"

#include "platform/paths.h"
#include "platform/profile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace pendra::setup {

namespace {

bool isReadOnly(const QFileInfo& info) {
    return !info.isSymLink() && info.exists() && !(info.permissions() & QFile::WriteOwner);
}

// One try, as the system the setup comes from copies: a read-only destination refuses the
// copy. Anything else found under the name, a link included, is removed and the copy is
// written as a new file, so nothing is ever written through a link.
bool copyOnce(const QString& source, const QString& target) {
    const QString existing = platform::resolvePath(target);
    const QFileInfo info(existing);
    if (isReadOnly(info)) {
        return false;
    }
    if ((info.isSymLink() || info.exists()) && !QFile::remove(existing)) {
        return false;
    }
    if (!QFile::copy(platform::resolvePath(source), target)) {
        return false;
    }
    QFile copy(target);
    return copy.setPermissions(copy.permissions() | QFile::ReadOwner | QFile::WriteOwner);
}

// Makes an existing destination writable again; a link is left alone, it is removed anyway.
void resetAttributes(const QString& target) {
    const QString existing = platform::resolvePath(target);
    const QFileInfo info(existing);
    if (!info.isSymLink() && info.exists()) {
        QFile::setPermissions(existing, info.permissions() | QFile::WriteOwner);
    }
}

// A failed first try ends the routine even when the second one succeeds: the user's next
// press starts again with a clean destination.
bool copyWithRetry(const QString& source, const QString& target, const QString& failure,
                   ui::MessageSink& messages) {
    if (copyOnce(source, target)) {
        return true;
    }
    resetAttributes(target);
    if (!copyOnce(source, target)) {
        messages.show(failure);
    }
    return false;
}

// The installer, its cabinet and its file list, in this order; the first failure ends it.
bool copyInstallerFiles(const QString& source, const QString& folder, const QString& tempDir,
                        ui::MessageSink& messages) {
    return copyWithRetry(source + QStringLiteral("setup.exe"),
                         tempDir + QStringLiteral("setup.exe"),
                         QStringLiteral("Fehler beim Kopieren der Datei setup.exe"), messages) &&
           copyWithRetry(source + folder + QStringLiteral(".CAB"),
                         tempDir + folder + QStringLiteral(".CAB"),
                         QStringLiteral("Fehler beim Kopieren der Datei *.CAB"), messages) &&
           copyWithRetry(source + QStringLiteral("Setup.lst"),
                         tempDir + QStringLiteral("Setup.lst"),
                         QStringLiteral("Fehler beim Kopieren der Datei setup.lst"), messages);
}

}  // namespace

QString componentFolder(InstallerComponent component) {
    switch (component) {
        case InstallerComponent::SettingsEditor:
            return QStringLiteral("PendraIni");
        case InstallerComponent::Datev:
            return QStringLiteral("PendraTransfer");
        case InstallerComponent::Online:
            break;
    }
    return QStringLiteral("Onlinebanking");
}

QString temporaryDirectory() {
    QString folder = QDir::tempPath();
    while (folder.endsWith(QLatin1Char('/'))) {
        folder.chop(1);
    }
    return folder + QLatin1Char('/');
}

int CopyComponentInstaller(InstallerComponent component, const QString& tempDir,
                           const SetupContext& context) {
    const QString& installDir = context.installationDirectory;
    const QString folder = componentFolder(component);
    if (installDir.isEmpty()) {
        // "Program" as the users know it.
        context.messages.show(
            QStringLiteral("Installationsfehler: Program kann den Pfad von Pendra nicht finden"));
        return -1;
    }
    if (installDir.size() == 1) {
        context.messages.show(QStringLiteral("Das Programm ") + folder +
                              QStringLiteral(" kann erst nach der Installation von Pendra "
                                             "installiert werden; Bitte erst Pendra installieren"));
        return -1;
    }
    if (!copyInstallerFiles(context.sourceDirectory + folder + QLatin1Char('/'), folder, tempDir,
                            context.messages)) {
        return -1;
    }
    // A list that cannot be written leaves the installer its own default folder.
    platform::writePrivateProfileString(QStringLiteral("Setup"), QStringLiteral("DefaultDir"),
                                        installDir, tempDir + QStringLiteral("Setup.lst"));
    return 0;
}

}  // namespace pendra::setup
