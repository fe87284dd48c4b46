#include "settings_editor/gui/DatevForm.h"

#include "settings_editor/datev_settings.h"
#include "ui_DatevForm.h"

#include <QCloseEvent>

namespace pendra::settings_editor {

DatevForm::DatevForm(Context context, QWidget* parent)
    : QWidget(parent, Qt::Window),
      ui_(std::make_unique<Ui::DatevForm>()),
      context_(std::move(context)) {
    ui_->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    connect(ui_->DatevUbern, &QPushButton::clicked, this, &DatevForm::accept);
    connect(ui_->DatevAbbr, &QPushButton::clicked, this, &QWidget::close);

    const DatevFields fields = loadDatev(context_);
    ui_->NrBerater->setText(fields.NrBerater);
    ui_->NrMandant->setText(fields.NrMandant);
    ui_->AusgPath->setText(fields.AusgPath);
    ui_->Waehrung->setText(fields.Waehrung);
}

DatevForm::~DatevForm() = default;

void DatevForm::accept() {
    const DatevFields fields{ui_->NrBerater->text(), ui_->NrMandant->text(), ui_->AusgPath->text(),
                             ui_->Waehrung->text()};
    if (acceptDatev(context_, fields)) {
        close();
    }
}

void DatevForm::closeEvent(QCloseEvent* event) {
    emit closed();
    event->accept();
}

}  // namespace pendra::settings_editor
