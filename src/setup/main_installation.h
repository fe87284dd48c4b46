#pragma once

#include "setup/work_page.h"
#include "ui/message_sink.h"

#include <QString>

namespace pendra::setup {

// The status lines of the main installation page.
enum MainInstallationLine {
    kLineInstalling = 1039,
    kLineFilesCopied = 1036,
    kLineEntriesWritten = 1035,
    kLineShortcutsCreated = 1037,
    kLineInstallationDone = 1038,
};

// Installs the application from the medium's folder into the installation folder (which
// begins at the root and ends in "/"): the folder, the application's files, the product key,
// the shortcuts, the first Pendra.ini and the search-path entry, in this order. Turns on the
// page's lines as the steps complete. Returns whether the user may go on: not when the
// installation folder could not be created.
bool installMainApplication(const QString& mediumFolder, const QString& installDir,
                            ui::MessageSink& messages, const TurnOnLine& turnOn);

}  // namespace pendra::setup
