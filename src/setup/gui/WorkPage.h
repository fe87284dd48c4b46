#pragma once

#include "setup/SetupContext.h"
#include "setup/Wizard.h"
#include "setup/gui/WizardPage.h"
#include "setup/work_pages.h"

#include <QLabel>
#include <QTimer>

#include <memory>
#include <vector>

namespace pendra::setup {

// A page of the installation work: a column of status lines, each a label named "id" plus
// its id, that turn on as the work goes.
class WorkPage : public WizardPage {
    Q_OBJECT

public:
    // Lines either stand grey until turned on, or are hidden until then (the heading, id 0,
    // always shows).
    enum class Lines { Grey, Appearing };

    WorkPage(const std::vector<StatusLine>& lines, Lines mode, QWidget* parent);

    void turnOn(int id);
    TurnOnLine turnOnLine() {
        return [this](int id) { turnOn(id); };
    }

private:
    std::vector<QLabel*> labels_;
};

// The main installation: after a second the settings editor's installer starts and the
// application is installed; "Weiter >>" comes on once that installer has ended.
class MainInstallationPage : public WorkPage {
    Q_OBJECT

public:
    MainInstallationPage(const SetupContext& context, WizardView& view, QWidget* parent);
    void opened() override;

private:
    const SetupContext& context_;
    WizardView& view_;
    MainInstallationRun run_;
    QTimer poll_;
};

// The DATEV interface or the online banking: the component is recorded at once, its installer
// starts after a second and is watched every 100 ms until its outcome is known.
class ComponentPage : public WorkPage {
    Q_OBJECT

public:
    ComponentPage(Component component, const SetupContext& context, WizardView& view,
                  QWidget* parent);
    void opened() override;

private:
    void startInstaller();
    void poll();

    Component component_;
    const SetupContext& context_;
    WizardView& view_;
    std::unique_ptr<InstallerRun> run_;
    QTimer poll_;
};

// The uninstall: the removal runs as soon as the page shows.
class UninstallPage : public WorkPage {
    Q_OBJECT

public:
    UninstallPage(const ChoiceFlags& flags, const SetupContext& context, WizardView& view,
                  QWidget* parent);
    void opened() override;

private:
    ChoiceFlags flags_;
    const SetupContext& context_;
    WizardView& view_;
};

}  // namespace pendra::setup
