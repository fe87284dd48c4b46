#pragma once

#include <QString>

namespace pendra::setup {

// Writes a Desktop Entry for the target where the shortcut file is named, with ".desktop" in
// place of ".lnk": Name = description, Exec = target and arguments, Path = working folder,
// Icon = icon file. An existing entry is replaced. 1 when it was written, else 0.
int CreateShortcut(const QString& targetPath, const QString& shortcutPath,
                   const QString& description, const QString& arguments,
                   const QString& workingDirectory, const QString& iconFile, int iconIndex);

// Deletes the shortcut file written for that name. 1 when it was deleted, else 0.
int DeleteShortcut(const QString& shortcutPath);

// The folder of "Common Desktop" or "Common Start Menu" from the "Shell Folders" key, without
// trailing separators; empty when it cannot be read.
QString GetCommonFolder(const QString& name);

}  // namespace pendra::setup
