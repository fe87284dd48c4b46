#include "setup/gui/FinishPage.h"

#include "setup/work_pages.h"
#include "ui_SetupFinishPage.h"

namespace pendra::setup {

FinishPage::FinishPage(const SetupContext& context, WizardView& view, QWidget* parent)
    : WizardPage(parent),
      ui_(std::make_unique<Ui::SetupFinishPage>()),
      context_(context),
      view_(view) {
    ui_->setupUi(this);
    // The texts come from the logic, which also prints them on a run without a window.
    const QStringList texts = finishTexts();
    ui_->completed->setText(texts.value(0));
    ui_->closeHint->setText(texts.value(1));
}

FinishPage::~FinishPage() = default;

void FinishPage::opened() {
    view_.enableNext(false);
    completeFinishPage(context_, view_);
}

}  // namespace pendra::setup
