#pragma once

#include "setup/SetupContext.h"
#include "setup/Wizard.h"
#include "setup/installer_runner.h"
#include "setup/work_pages.h"

#include <memory>
#include <ostream>
#include <vector>

namespace pendra::setup::cli {

// The wizard's pages without a window: each page does its work at once, as its window page
// does, and prints its lines as they appear.
class UnattendedView : public WizardView {
public:
    UnattendedView(SetupContext& context, ChoiceFlags flags, QString folder, std::ostream& out)
        : context_(context), flags_(flags), folder_(std::move(folder)), out_(out) {}

    ChoiceFlags readChoice() override { return flags_; }
    void showPage(Page page) override;
    void enableNext(bool enabled) override { nextEnabled_ = enabled; }
    void setNextCaption(const QString&) override {}
    void finish() override { finished_ = true; }

    bool nextEnabled() const { return nextEnabled_; }
    bool finished() const { return finished_; }
    int pagesShown() const { return pagesShown_; }
    // A removal left something behind; its message said what.
    bool removalFailed() const { return removalFailed_; }
    // Waits for the installers and uninstallers the pages started.
    void waitForStarted();

private:
    void print(const QString& line);
    TurnOnLine printing(std::vector<StatusLine> lines);
    void mainInstallation();
    void component(Component component);
    void removal();
    void finishPage();

    SetupContext& context_;
    ChoiceFlags flags_;
    QString folder_;
    std::ostream& out_;
    bool nextEnabled_ = true;
    bool finished_ = false;
    int pagesShown_ = 0;
    bool removalFailed_ = false;
    std::vector<std::unique_ptr<InstallerRun>> installers_;
    std::vector<qint64> uninstallers_;
};

}  // namespace pendra::setup::cli
