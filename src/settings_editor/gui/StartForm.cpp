#include "settings_editor/gui/StartForm.h"

#include "settings_editor/gui/DatevForm.h"
#include "settings_editor/gui/PendraIniForm.h"
#include "settings_editor/settings_file.h"
#include "ui_EditorStartForm.h"

#include <QCloseEvent>

#include <algorithm>

namespace pendra::settings_editor {

namespace {

// Designer wants unique names; the menu entries are control arrays, told apart by their
// "index" property, so they carry the array's name.
void nameAsControlArray(QObject* entry) {
    entry->setObjectName(entry->objectName().section(QLatin1Char('_'), 0, 0));
}

// Shows a settings form beside the others and brings it to the front.
void present(QWidget* form) {
    form->show();
    form->raise();
    form->activateWindow();
}

}  // namespace

StartForm::StartForm(Context context, QWidget* parent)
    : QMainWindow(parent),
      ui_(std::make_unique<Ui::EditorStartForm>()),
      context_(std::move(context)) {
    ui_->setupUi(this);
    for (QObject* entry : std::initializer_list<QObject*>{
             ui_->mnumain_0, ui_->mnumain_1, ui_->mnuPnd_0, ui_->mnuPnd_1, ui_->mnuDatev_0}) {
        nameAsControlArray(entry);
    }
    connect(ui_->mnuPnd_0, &QAction::triggered, this, &StartForm::initialise);
    connect(ui_->mnuPnd_1, &QAction::triggered, this, &StartForm::edit);
    connect(ui_->mnuDatev_0, &QAction::triggered, this, &StartForm::editDatev);
    connect(ui_->cmdstop, &QPushButton::clicked, this, &StartForm::stop);

    createMissingSettingsFile(context_);
}

StartForm::~StartForm() {
    // The settings forms are windows of their own, not children; they end with the start form.
    for (QWidget* form : settingsForms()) {
        delete form;
    }
}

std::vector<QWidget*> StartForm::settingsForms() const {
    std::vector<QWidget*> forms;
    for (QWidget* form : std::initializer_list<QWidget*>{pendraIni_, datev_}) {
        if (form != nullptr) {
            forms.push_back(form);
        }
    }
    return forms;
}

void StartForm::closeEvent(QCloseEvent* event) {
    // An open settings form keeps the program and its edits; the start form comes back when
    // that form is closed.
    const auto forms = settingsForms();
    if (std::none_of(forms.begin(), forms.end(), [](QWidget* form) { return form->isVisible(); })) {
        stop();
    }
    event->accept();
}

PendraIniForm& StartForm::pendraIniForm() {
    if (pendraIni_.isNull()) {
        pendraIni_ = new PendraIniForm(context_, nullptr);
        connect(pendraIni_, &PendraIniForm::closed, this, &StartForm::comeBack);
    }
    return *pendraIni_;
}

void StartForm::initialise() {
    PendraIniForm& form = pendraIniForm();
    form.initSettings();
    present(&form);
    hide();
}

void StartForm::edit() {
    PendraIniForm& form = pendraIniForm();
    form.readSettings();
    present(&form);
}

void StartForm::editDatev() {
    if (datev_.isNull()) {
        datev_ = new DatevForm(context_, nullptr);
        connect(datev_, &DatevForm::closed, this, &StartForm::comeBack);
    }
    present(datev_);
}

void StartForm::comeBack() {
    show();
    raise();
    activateWindow();
}

void StartForm::stop() {
    for (QWidget* form : settingsForms()) {
        form->disconnect(this);
        form->close();
    }
    emit stopRequested();
}

}  // namespace pendra::settings_editor
