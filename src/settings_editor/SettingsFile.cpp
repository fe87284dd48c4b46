#include "SettingsFile.h"

#include "common/FileFkt.h"
#include "common/failure.h"

namespace pendra::settings_editor {

void CreateMissingSettingsFile(const Context& context) {
    const QString folder = context.workingFolder();
    if (folder.isEmpty()) {
        context.messages.show(QStringLiteral("Fehler beim Ermitteln des Current-Directories"));
        return;
    }
    const QString file = settingsFile(folder);
    if (FileFkt::FilePresent(file)) {
        return;
    }
    try {
        FileFkt::CreateEmptyTextFile(file);
    } catch (const Failure& failure) {
        context.messages.show(failure.message());
    }
}

}  // namespace pendra::settings_editor
