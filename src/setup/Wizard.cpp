#include "setup/Wizard.h"

#include "setup/odbc_data_source.h"

namespace pendra::setup {

void Wizard::next() {
    switch (step_) {
        case Step::Choice:
            leaveChoice();
            return;
        case Step::Folder:
            afterFolder();
            return;
        case Step::MainInstallation:
            afterMainInstallation();
            return;
        case Step::Datev:
            afterDatev();
            return;
        case Step::Online:
            show(Page::Finish, Step::Finish);
            return;
        case Step::Finish:
            view_.finish();
            return;
    }
}

void Wizard::leaveChoice() {
    flags_ = view_.readChoice();
    if (flags_.uninstall) {
        show(Page::Uninstall, Step::Online);
    } else if (flags_.mainApplication) {
        show(Page::Folder, Step::Folder);
    } else if (flags_.datev) {
        tryPage(Page::Datev, Step::Datev, InstallerComponent::Datev);
    } else if (flags_.online) {
        tryPage(Page::Online, Step::Online, InstallerComponent::Online);
    }
}

void Wizard::afterFolder() {
    if (flags_.mainApplication) {
        // The main installation page starts the settings editor's installer.
        tryPage(Page::MainInstallation, Step::MainInstallation, InstallerComponent::SettingsEditor);
    } else {
        afterMainInstallation();
    }
}

void Wizard::afterMainInstallation() {
    if (flags_.datev) {
        tryPage(Page::Datev, Step::Datev, InstallerComponent::Datev);
    } else {
        afterDatev();
    }
}

void Wizard::afterDatev() {
    if (flags_.online) {
        tryPage(Page::Online, Step::Online, InstallerComponent::Online);
    } else {
        show(Page::Finish, Step::Finish);
    }
}

void Wizard::show(Page page, Step step) {
    view_.showPage(page);
    step_ = step;
}

void Wizard::tryPage(Page page, Step step, InstallerComponent installer) {
    if (CopyComponentInstaller(installer, temporaryDirectory(), context_) != 0) {
        view_.enableNext(true);
        return;
    }
    show(page, step);
}

bool confirmCancel(ui::MessageSink& messages) {
    return messages.askYesNo(QStringLiteral("PENDRA Setup wirklich abbrechen?"),
                             QStringLiteral("Abbrechen?"), ui::Icon::Question);
}

void completeFinishPage(const SetupContext& context, WizardView& view) {
    createDataSource(context.installationDirectory, context.messages);
    view.enableNext(true);
    view.setNextCaption(QStringLiteral("Beenden"));
}

}  // namespace pendra::setup
