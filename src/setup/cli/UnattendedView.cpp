#include "setup/cli/UnattendedView.h"

#include "setup/main_installation.h"
#include "setup/uninstall.h"

#include <algorithm>

namespace pendra::setup::cli {

void UnattendedView::showPage(Page page) {
    ++pagesShown_;
    nextEnabled_ = false;
    switch (page) {
        case Page::Choice:
            nextEnabled_ = true;
            return;
        case Page::Folder:
            // The folder page delivers what the command line named, or its proposal.
            context_.installationDirectory = folder_;
            nextEnabled_ = true;
            return;
        case Page::MainInstallation:
            mainInstallation();
            return;
        case Page::Datev:
            component(Component::Datev);
            return;
        case Page::Online:
            component(Component::Online);
            return;
        case Page::Uninstall:
            removal();
            return;
        case Page::Finish:
            finishPage();
            return;
    }
}

void UnattendedView::print(const QString& line) {
    out_ << line.toStdString() << '\n' << std::flush;
}

// Prints a page's line when it turns on.
TurnOnLine UnattendedView::printing(std::vector<StatusLine> lines) {
    return [this, lines = std::move(lines)](int id) {
        const auto line =
            std::find_if(lines.begin(), lines.end(),
                         [id](const StatusLine& candidate) { return candidate.id == id; });
        if (line != lines.end()) {
            print(line->text);
        }
    };
}

void UnattendedView::mainInstallation() {
    const TurnOnLine turnOn = printing(mainInstallationLines());
    turnOn(kLineInstalling);
    MainInstallationRun run = runMainInstallation(context_, turnOn);
    if (run.mayGoOn) {
        // The next page copies its installer to where this one's still may be read.
        run.settingsEditor->waitForResult();
    }
    installers_.push_back(std::move(run.settingsEditor));
    nextEnabled_ = run.mayGoOn;
}

void UnattendedView::component(Component component) {
    const std::vector<StatusLine> lines = componentLines(component);
    print(lines.front().text);
    recordComponent(context_, component);
    const TurnOnLine turnOn = printing(lines);
    std::unique_ptr<InstallerRun> run = startComponentInstaller(component, context_, turnOn);
    if (run->started()) {
        reportInstaller(run->waitForResult(), component, context_, turnOn);
    }
    installers_.push_back(std::move(run));
    nextEnabled_ = true;
}

void UnattendedView::removal() {
    const RemovalOutcome outcome =
        uninstall({flags_.mainApplication, flags_.datev, flags_.online},
                  context_.installationDirectory, context_.messages, printing(uninstallLines()));
    removalFailed_ = outcome.failed;
    uninstallers_.insert(uninstallers_.end(), outcome.uninstallers.begin(),
                         outcome.uninstallers.end());
    nextEnabled_ = true;
}

void UnattendedView::finishPage() {
    for (const QString& text : finishTexts()) {
        print(text);
    }
    completeFinishPage(context_, *this);
}

void UnattendedView::waitForStarted() {
    for (const auto& run : installers_) {
        run->waitForResult();
    }
    for (const qint64 id : uninstallers_) {
        waitForProcess(id);
    }
}

}  // namespace pendra::setup::cli
