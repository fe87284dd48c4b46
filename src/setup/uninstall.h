#pragma once

#include "setup/work_page.h"
#include "ui/message_sink.h"

#include <QString>

#include <vector>

namespace pendra::setup {

// The status lines of the uninstall page.
enum UninstallLine {
    kLineRemovingMain = 1038,
    kLineMainRemoved = 1036,
    kLineRemovingDatev = 1039,
    kLineDatevRemoved = 1040,
    kLineRemovingOnline = 1041,
    kLineOnlineRemoved = 1042,
};

struct Removal {
    bool mainApplication = false;
    bool datev = false;
    bool online = false;
};

struct RemovalOutcome {
    bool failed = false;               // a message told of something that stayed behind
    std::vector<qint64> uninstallers;  // the uninstaller runs started, not awaited
};

// Removes what is ticked from the installation in `installDir` (the product key's "Path"):
// the main application with everything, or the DATEV interface and the online banking one
// by one. Every failure is told and the removal goes on with its next step.
RemovalOutcome uninstall(const Removal& removal, const QString& installDir,
                         ui::MessageSink& messages, const TurnOnLine& turnOn);

}  // namespace pendra::setup
