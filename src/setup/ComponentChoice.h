#pragma once

#include "setup/SetupContext.h"
#include "setup/Wizard.h"

#include <array>

namespace pendra::setup {

// The fields of the choice page and its rules, without the controls: what is installed, which
// way the user chose and which components are ticked. The page pushes these fields to its
// controls after every change and reads the ticks back.
class ComponentChoice {
public:
    enum Option { Complete = 0, Custom = 1, Uninstall = 2 };
    // Indices of the three components in ticks and present flags.
    enum Item { MainApplication = 0, DatevInterface = 1, OnlineBanking = 2 };

    // Reads the product key and sets the installation folder from its "Path".
    explicit ComponentChoice(SetupContext& context);

    void chooseComplete();
    void chooseCustom();
    void chooseUninstall();
    void setTick(Item item, bool ticked) { ticks_[item] = ticked; }

    Option option() const { return option_; }
    bool ticked(Item item) const { return ticks_[item]; }
    bool present(Item item) const { return present_[item]; }
    bool checkBoxesEnabled() const { return checkBoxesEnabled_; }
    bool uninstallEnabled() const { return uninstallEnabled_; }
    ChoiceFlags flags() const;

private:
    void applyInstallView();
    void applyUninstallView();

    Option option_ = Complete;
    std::array<bool, 3> ticks_{};
    std::array<bool, 3> present_{};
    bool uninstall_ = false;
    bool checkBoxesEnabled_ = false;
    bool uninstallEnabled_ = true;
};

}  // namespace pendra::setup
