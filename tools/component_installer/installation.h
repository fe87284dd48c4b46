#pragma once

#include <QString>

namespace pendra::tools {

// What the installer's "Setup.lst" says.
struct InstallerSetup {
    QString defaultDir;   // the installation folder, absolute, without trailing "/"
    QString cabinet;      // the cabinet beside the installer
    QString uninstaller;  // the cabinet's file that goes into the Windows folder, unlogged
    bool windowsPendraIni = false;  // whether the Windows folder's Pendra.ini gets its keys
};

// Reads "Setup.lst" in the installer's folder. Throws Failure.
InstallerSetup readSetupList(const QString& installerFolder);

// Unpacks the cabinet into the installation folder, the uninstaller into the Windows folder
// and, when asked, writes the Windows folder's missing Pendra.ini keys; logs everything it
// created. Returns the log's path. Throws Failure.
QString install(const InstallerSetup& setup);

// The uninstaller as installed in the Windows folder.
QString installedUninstaller(const InstallerSetup& setup);

}  // namespace pendra::tools
