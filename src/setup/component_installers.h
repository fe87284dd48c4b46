#pragma once

#include "setup/SetupContext.h"

#include <QString>

namespace pendra::setup {

// The components that come with installers of their own, each in a subfolder of the
// installation medium named like its cabinet.
enum class InstallerComponent { SettingsEditor, Datev, Online };

// "PendraIni", "PendraTransfer" or "Onlinebanking".
QString componentFolder(InstallerComponent component);

// The system's temporary folder with exactly one trailing "/".
QString temporaryDirectory();

// Copies the component's "setup.exe", cabinet and "Setup.lst" from the medium into the
// temporary folder and writes the installation folder into the copied "Setup.lst".
// 0 on success, -1 on failure; the user is told why, except when only the first try of a
// copy failed.
int CopyComponentInstaller(InstallerComponent component, const QString& tempDir,
                           const SetupContext& context);

}  // namespace pendra::setup
