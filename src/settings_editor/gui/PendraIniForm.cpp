#include "settings_editor/gui/PendraIniForm.h"

#include "ui_PendraIniForm.h"

#include <QCloseEvent>

#include <array>
#include <utility>

namespace pendra::settings_editor {

namespace {

using ReadPnd::PendraIniFields;
using Binding = std::pair<QString PendraIniFields::*, QLineEdit*>;

std::array<Binding, 14> bindings(const Ui::PendraIniForm& ui) {
    return {{
        {&PendraIniFields::Label, ui.Label},
        {&PendraIniFields::AnwPfad, ui.AnwPfad},
        {&PendraIniFields::AnwName, ui.AnwName},
        {&PendraIniFields::dbPath, ui.dbPath},
        {&PendraIniFields::DbName, ui.DbName},
        {&PendraIniFields::TmpPath, ui.TmpPath},
        {&PendraIniFields::Vorlagen, ui.Vorlagen},
        {&PendraIniFields::OfficePath, ui.OfficePath},
        {&PendraIniFields::BriefPath, ui.BriefPath},
        {&PendraIniFields::FaxPath, ui.FaxPath},
        {&PendraIniFields::DatevPath, ui.DatevPath},
        {&PendraIniFields::WKen, ui.WKen},
        {&PendraIniFields::HomePrg, ui.HomePrg},
        {&PendraIniFields::EDIPath, ui.EDIPath},
    }};
}

}  // namespace

PendraIniForm::PendraIniForm(Context context, QWidget* parent)
    : QWidget(parent, Qt::Window),
      ui_(std::make_unique<Ui::PendraIniForm>()),
      context_(std::move(context)) {
    ui_->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    connect(ui_->UeberNahme, &QPushButton::clicked, this, &PendraIniForm::accept);
    connect(ui_->Abbr, &QPushButton::clicked, this, &QWidget::close);
}

PendraIniForm::~PendraIniForm() = default;

void PendraIniForm::initSettings() {
    PendraIniFields values = fields();
    ReadPnd::InitSettings(context_, values);
    showFields(values);
}

void PendraIniForm::readSettings() {
    PendraIniFields values = fields();
    ReadPnd::ReadSettings(context_, values);
    showFields(values);
}

void PendraIniForm::accept() {
    if (ReadPnd::acceptSettings(context_, fields())) {
        close();
    }
}

void PendraIniForm::closeEvent(QCloseEvent* event) {
    emit closed();
    event->accept();
}

PendraIniFields PendraIniForm::fields() const {
    PendraIniFields values;
    for (const auto& [field, box] : bindings(*ui_)) {
        values.*field = box->text();
    }
    return values;
}

void PendraIniForm::showFields(const PendraIniFields& values) {
    for (const auto& [field, box] : bindings(*ui_)) {
        box->setText(values.*field);
    }
}

}  // namespace pendra::settings_editor
