#pragma once

#include "setup/SetupContext.h"
#include "setup/installer_runner.h"
#include "setup/product_key.h"
#include "setup/work_page.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace pendra::setup {

// A line of a work page: its id and its text. Id 0 is a page's heading, shown from the start.
struct StatusLine {
    int id = 0;
    QString text;
};

// The status lines of the main installation page; all stand grey until turned on.
std::vector<StatusLine> mainInstallationLines();
// The lines of the uninstall page; all stand grey until turned on.
std::vector<StatusLine> uninstallLines();
// The heading and the lines of a component page; the lines appear as they are turned on.
std::vector<StatusLine> componentLines(Component component);

// The lines of the finish page.
QStringList finishTexts();

// The installer copied into the temporary folder, awaiting the uninstaller it may hand over to.
RunnerParameter copiedInstaller();

// When a component page opens: the product key and the settings file record the component,
// and its start-menu shortcut is made, before its installer runs.
void recordComponent(const SetupContext& context, Component component);

// A component page's lines and message for its installer's outcome. Returns whether a
// failure was reported.
bool reportInstaller(int result, Component component, const SetupContext& context,
                     const TurnOnLine& turnOn);

// The main installation page once its second has passed: starts the settings editor's
// installer, which runs on by itself, then installs the application. `mayGoOn` tells whether
// "Weiter >>" may be enabled: not when the installation folder could not be made.
struct MainInstallationRun {
    std::unique_ptr<InstallerRun> settingsEditor;
    bool mayGoOn = false;
};
MainInstallationRun runMainInstallation(const SetupContext& context, const TurnOnLine& turnOn);

// A component page once its second has passed: starts the copied installer and turns on the
// line that says so. An installer that cannot be started is reported at once.
std::unique_ptr<InstallerRun> startComponentInstaller(Component component,
                                                      const SetupContext& context,
                                                      const TurnOnLine& turnOn);

}  // namespace pendra::setup
