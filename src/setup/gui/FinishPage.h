#pragma once

#include "setup/Wizard.h"
#include "setup/gui/WizardPage.h"

#include <memory>

namespace Ui {
class SetupFinishPage;
}

namespace pendra::setup {

// The last page: creates the ODBC data source once it is on screen, then offers "Beenden".
class FinishPage : public WizardPage {
    Q_OBJECT

public:
    FinishPage(const SetupContext& context, WizardView& view, QWidget* parent);
    ~FinishPage() override;

    void opened() override;

private:
    std::unique_ptr<Ui::SetupFinishPage> ui_;
    const SetupContext& context_;
    WizardView& view_;
};

}  // namespace pendra::setup
