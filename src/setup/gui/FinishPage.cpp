#include "setup/gui/FinishPage.h"

#include "ui_SetupFinishPage.h"

namespace pendra::setup {

FinishPage::FinishPage(const SetupContext& context, WizardView& view, QWidget* parent)
    : WizardPage(parent),
      ui_(std::make_unique<Ui::SetupFinishPage>()),
      context_(context),
      view_(view) {
    ui_->setupUi(this);
}

FinishPage::~FinishPage() = default;

void FinishPage::opened() {
    view_.enableNext(false);
    completeFinishPage(context_, view_);
}

}  // namespace pendra::setup
