#include "setup/ComponentChoice.h"

#include "setup/product_key.h"

namespace pendra::setup {

ComponentChoice::ComponentChoice(SetupContext& context) {
    // Without the key this is the one-character marker, which the component installers
    // recognise as "main application never installed".
    context.installationDirectory = installationPath();
    present_[MainApplication] = mainApplicationInstalled();
    if (present_[MainApplication]) {
        option_ = Uninstall;
        uninstall_ = true;
    } else {
        uninstallEnabled_ = false;
    }
    present_[DatevInterface] = componentInstalled(Component::Datev);
    present_[OnlineBanking] = componentInstalled(Component::Online);
    // An installed component can be removed even when the main application is gone.
    if (present_[DatevInterface] || present_[OnlineBanking]) {
        uninstallEnabled_ = true;
    }
    if (uninstall_) {
        applyUninstallView();
    } else {
        applyInstallView();
    }
}

void ComponentChoice::chooseComplete() {
    checkBoxesEnabled_ = false;
    applyInstallView();
    uninstall_ = false;
    option_ = Complete;
}

void ComponentChoice::chooseCustom() {
    checkBoxesEnabled_ = true;
    option_ = Custom;
    uninstall_ = false;
    applyInstallView();
}

void ComponentChoice::chooseUninstall() {
    uninstall_ = true;
    option_ = Uninstall;
    applyUninstallView();
}

ChoiceFlags ComponentChoice::flags() const {
    return {ticks_[MainApplication], ticks_[DatevInterface], ticks_[OnlineBanking], uninstall_};
}

// Every missing component is ticked, none that is already there.
void ComponentChoice::applyInstallView() {
    for (std::size_t i = 0; i < ticks_.size(); ++i) {
        ticks_[i] = !present_[i];
    }
}

void ComponentChoice::applyUninstallView() {
    checkBoxesEnabled_ = true;
    uninstallEnabled_ = true;
    ticks_ = present_;
}

}  // namespace pendra::setup
