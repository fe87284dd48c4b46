#include "settings_editor/Context.h"

#include "platform/paths.h"
#include "platform/system_folders.h"

namespace pendra::settings_editor {

namespace {
constexpr int kFolderBufferSize = 255;
}

WorkingFolder processWorkingFolder() {
    return [] { return platform::getCurrentDirectory(kFolderBufferSize); };
}

QString settingsFile(const QString& workingFolder) {
    return platform::joinPath(workingFolder, QStringLiteral("Pendra.ini"));
}

}  // namespace pendra::settings_editor
