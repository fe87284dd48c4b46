#include "settings_editor/settings_file.h"

#include "common/FileFkt.h"
#include "common/failure.h"

namespace pendra::settings_editor {

void createMissingSettingsFile(const Context& context) {
    const QString folder = context.workingFolder();
    if (folder.isEmpty()) {
        context.messages.show(QStringLiteral("Fehler beim Ermitteln des Current-Directories"));
        return;
    }
    const QString file = settingsFile(folder);
    if (common::FileFkt::FilePresent(file)) {
        return;
    }
    try {
        common::FileFkt::CreateEmptyTextFile(file);
    } catch (const Failure& failure) {
        context.messages.show(failure.message());
    }
}

}  // namespace pendra::settings_editor
