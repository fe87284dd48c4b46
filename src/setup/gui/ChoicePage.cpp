#include "setup/gui/ChoicePage.h"

#include "ui_SetupChoicePage.h"

namespace pendra::setup {

namespace {

QPixmap marker(bool present) {
    return QPixmap(present ? QStringLiteral(":/setup/marker-present.png")
                           : QStringLiteral(":/setup/marker-absent.png"));
}

}  // namespace

ChoicePage::ChoicePage(SetupContext& context, QWidget* parent)
    : WizardPage(parent), ui_(std::make_unique<Ui::SetupChoicePage>()), fields_(context) {
    ui_->setupUi(this);
    connect(ui_->id1008, &QRadioButton::clicked, this, [this] {
        fields_.chooseComplete();
        push();
    });
    connect(ui_->id1009, &QRadioButton::clicked, this, [this] {
        fields_.chooseCustom();
        push();
    });
    connect(ui_->id1014, &QRadioButton::clicked, this, [this] {
        fields_.chooseUninstall();
        push();
    });
    showMarkers();
    push();
}

ChoicePage::~ChoicePage() = default;

ChoiceFlags ChoicePage::choice() {
    fields_.setTick(ComponentChoice::MainApplication, ui_->id1002->isChecked());
    fields_.setTick(ComponentChoice::DatevInterface, ui_->id1003->isChecked());
    fields_.setTick(ComponentChoice::OnlineBanking, ui_->id1004->isChecked());
    return fields_.flags();
}

void ChoicePage::showMarkers() {
    ui_->id1011->setPixmap(marker(fields_.present(ComponentChoice::MainApplication)));
    ui_->id1012->setPixmap(marker(fields_.present(ComponentChoice::DatevInterface)));
    ui_->id1013->setPixmap(marker(fields_.present(ComponentChoice::OnlineBanking)));
}

void ChoicePage::push() {
    QRadioButton* const options[] = {ui_->id1008, ui_->id1009, ui_->id1014};
    options[fields_.option()]->setChecked(true);
    ui_->id1014->setEnabled(fields_.uninstallEnabled());
    ui_->id1002->setChecked(fields_.ticked(ComponentChoice::MainApplication));
    ui_->id1003->setChecked(fields_.ticked(ComponentChoice::DatevInterface));
    ui_->id1004->setChecked(fields_.ticked(ComponentChoice::OnlineBanking));
    for (QCheckBox* box : {ui_->id1002, ui_->id1003, ui_->id1004}) {
        box->setEnabled(fields_.checkBoxesEnabled());
    }
}

}  // namespace pendra::setup
