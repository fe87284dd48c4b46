#include "setup/folder_choice.h"

#include "setup/RegistryKey.h"

namespace pendra::setup {

QString proposedInstallationFolder() {
    RegistryKey key;
    key.SetKey(RegistryKey::Root::LocalMachine,
               QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion"));
    QString folder = key.ReadString(QString(), QStringLiteral("ProgramFilesDir"));
    if (key.TakeError()) {
        return {};
    }
    while (folder.endsWith(QLatin1Char('/'))) {
        folder.chop(1);
    }
    return folder.isEmpty() ? folder : folder + QStringLiteral("/Pendra/");
}

std::optional<QString> acceptedFolderName(const QString& text, bool hasParent,
                                          const QStringList& childNames) {
    static const QString kRefused = QStringLiteral(":\\/*?\"<>|");
    for (const QChar c : text) {
        if (kRefused.contains(c)) {
            return std::nullopt;
        }
    }
    QString name = text;
    while (name.endsWith(QLatin1Char(' '))) {
        name.chop(1);
    }
    if (!hasParent || childNames.contains(name) || name.isEmpty()) {
        return std::nullopt;
    }
    return name;
}

}  // namespace pendra::setup
