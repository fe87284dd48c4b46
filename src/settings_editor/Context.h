#pragma once

#include "ui/message_sink.h"

#include <QString>

#include <functional>

namespace pendra::settings_editor {

// Fetches the editor's working folder afresh; the empty text when it cannot be determined.
using WorkingFolder = std::function<QString()>;

// The process's working folder, fetched as into a buffer of 255 characters.
WorkingFolder processWorkingFolder();

// What every operation of the editor works with: where its messages go and where it finds
// the folder whose settings file it edits.
struct Context {
    ui::MessageSink& messages;
    WorkingFolder workingFolder;
};

// The settings file of a working folder.
QString settingsFile(const QString& workingFolder);

}  // namespace pendra::settings_editor
