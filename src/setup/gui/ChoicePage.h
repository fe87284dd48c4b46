#pragma once

#include "setup/ComponentChoice.h"
#include "setup/gui/WizardPage.h"

#include <memory>

namespace Ui {
class SetupChoicePage;
}

namespace pendra::setup {

// The first page: which components are there, and what the user wants done with them.
class ChoicePage : public WizardPage {
    Q_OBJECT

public:
    ChoicePage(SetupContext& context, QWidget* parent);
    ~ChoicePage() override;

    // The ticks as the user left them, and whether to uninstall.
    ChoiceFlags choice();

private:
    void push();
    void showMarkers();

    std::unique_ptr<Ui::SetupChoicePage> ui_;
    ComponentChoice fields_;
};

}  // namespace pendra::setup
