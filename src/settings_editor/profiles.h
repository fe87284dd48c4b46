#pragma once

#include "ui/message_sink.h"

#include <QString>

namespace pendra::settings_editor::profiles {

// Reads one value of a profile file through a buffer of 250 bytes, so a value comes back as
// at most its first 249 characters. A missing file, section or key and an empty value all
// give the empty text without a message; an empty file path is reported.
QString ReadProfileValue(ui::MessageSink& messages, const QString& filePath, const QString& section,
                         const QString& key);

// Writes one value, creating file, section and key as needed. Throws Failure naming the file
// when it cannot be written, so that no caller reports a lost change as saved.
void writeProfileValueOrThrow(const QString& filePath, const QString& section, const QString& key,
                              const QString& value);

}  // namespace pendra::settings_editor::profiles
