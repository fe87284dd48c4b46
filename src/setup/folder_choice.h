#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace pendra::setup {

// The proposed installation folder: "ProgramFilesDir" of the system's "CurrentVersion" key
// without trailing "/", followed by "/Pendra/"; empty when the value cannot be read.
QString proposedInstallationFolder();

// The name a folder created in the folder tree takes when its label edit ends with this text,
// or nothing when the text is refused: characters no file name may hold, no parent, blanks
// only, or a name one of the parent's children already carries (the edited one included).
// Trailing blanks are dropped.
std::optional<QString> acceptedFolderName(const QString& text, bool hasParent,
                                          const QStringList& childNames);

}  // namespace pendra::setup
