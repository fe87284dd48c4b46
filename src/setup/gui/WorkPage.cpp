#include "setup/gui/WorkPage.h"

#include "setup/main_installation.h"
#include "setup/uninstall.h"

#include <QVBoxLayout>

namespace pendra::setup {

namespace {

constexpr int kDelayMs = 1000;
constexpr int kPollMs = 100;

}  // namespace

WorkPage::WorkPage(const std::vector<StatusLine>& lines, Lines mode, QWidget* parent)
    : WizardPage(parent) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(24, 24, 24, 24);
    column->setSpacing(12);
    for (const StatusLine& line : lines) {
        auto* label = new QLabel(line.text, this);
        label->setObjectName(QStringLiteral("id%1").arg(line.id));
        label->setWordWrap(true);
        label->setProperty("lineId", line.id);
        if (line.id != 0) {
            label->setEnabled(mode == Lines::Appearing);
            label->setVisible(mode == Lines::Grey);
        }
        column->addWidget(label);
        labels_.push_back(label);
    }
    column->addStretch();
}

void WorkPage::turnOn(int id) {
    for (QLabel* label : labels_) {
        if (label->property("lineId").toInt() == id) {
            label->setEnabled(true);
            label->setVisible(true);
        }
    }
}

MainInstallationPage::MainInstallationPage(const SetupContext& context, WizardView& view,
                                           QWidget* parent)
    : WorkPage(mainInstallationLines(), Lines::Grey, parent), context_(context), view_(view) {
    poll_.setInterval(kPollMs);
    connect(&poll_, &QTimer::timeout, this, [this] {
        // The next page copies its installer to where this one's still may be read.
        if (run_.settingsEditor->result()) {
            poll_.stop();
            view_.enableNext(true);
        }
    });
}

void MainInstallationPage::opened() {
    turnOn(kLineInstalling);
    QTimer::singleShot(kDelayMs, this, [this] {
        run_ = runMainInstallation(context_, turnOnLine());
        if (run_.mayGoOn) {
            poll_.start();
        }
    });
}

ComponentPage::ComponentPage(Component component, const SetupContext& context, WizardView& view,
                             QWidget* parent)
    : WorkPage(componentLines(component), Lines::Appearing, parent),
      component_(component),
      context_(context),
      view_(view) {
    poll_.setInterval(kPollMs);
    connect(&poll_, &QTimer::timeout, this, &ComponentPage::poll);
}

void ComponentPage::opened() {
    QTimer::singleShot(kDelayMs, this, &ComponentPage::startInstaller);
    recordComponent(context_, component_);
}

void ComponentPage::startInstaller() {
    run_ = startComponentInstaller(component_, context_, turnOnLine());
    if (run_->started()) {
        poll_.start();
    } else {
        view_.enableNext(true);
    }
}

void ComponentPage::poll() {
    const std::optional<int> result = run_->result();
    if (!result) {
        return;
    }
    poll_.stop();
    reportInstaller(*result, component_, context_, turnOnLine());
    view_.enableNext(true);
}

UninstallPage::UninstallPage(const ChoiceFlags& flags, const SetupContext& context,
                             WizardView& view, QWidget* parent)
    : WorkPage(uninstallLines(), Lines::Grey, parent),
      flags_(flags),
      context_(context),
      view_(view) {}

void UninstallPage::opened() {
    uninstall({flags_.mainApplication, flags_.datev, flags_.online}, context_.installationDirectory,
              context_.messages, turnOnLine());
    view_.enableNext(true);
}

}  // namespace pendra::setup
