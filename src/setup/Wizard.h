#pragma once

#include "setup/SetupContext.h"
#include "setup/component_installers.h"

#include <QString>

namespace pendra::setup {

enum class Step { Choice, Folder, MainInstallation, Datev, Online, Finish };

// The wizard's pages. The uninstall page has no step of its own: it leaves the step at
// online banking, so that the next press leads to the finish page.
enum class Page { Choice, Folder, MainInstallation, Datev, Online, Uninstall, Finish };

// What the choice page tells the wizard when it is left.
struct ChoiceFlags {
    bool mainApplication = false;
    bool datev = false;
    bool online = false;
    bool uninstall = false;
};

// What the wizard's window does for the step machine and its pages.
class WizardView {
public:
    virtual ~WizardView() = default;

    // The choice page's controls as the user left them.
    virtual ChoiceFlags readChoice() = 0;
    // Replaces the current page; "Weiter >>" is disabled until the new page enables it.
    virtual void showPage(Page page) = 0;
    virtual void enableNext(bool enabled) = 0;
    virtual void setNextCaption(const QString& caption) = 0;
    // Closes the wizard as confirmed; the program ends.
    virtual void finish() = 0;
};

// The page sequence on "Weiter >>". The window and an unattended run walk the same machine.
class Wizard {
public:
    Wizard(SetupContext& context, WizardView& view) : context_(context), view_(view) {}

    void next();

    Step step() const { return step_; }
    const ChoiceFlags& flags() const { return flags_; }

private:
    void leaveChoice();
    void afterFolder();
    void afterMainInstallation();
    void afterDatev();
    void show(Page page, Step step);
    // Shows the page only when the component's installer could be copied; otherwise the
    // wizard stays where it is, ready for the next press to try again.
    void tryPage(Page page, Step step, InstallerComponent installer);

    SetupContext& context_;
    WizardView& view_;
    Step step_ = Step::Choice;
    ChoiceFlags flags_;
};

// Asks whether the setup is to be cancelled.
bool confirmCancel(ui::MessageSink& messages);

// What the finish page does when it opens, once it is painted: creates the ODBC data source,
// then offers "Beenden".
void completeFinishPage(const SetupContext& context, WizardView& view);

}  // namespace pendra::setup
