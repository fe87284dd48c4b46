#include "transfer/gui/StartForm.h"

#include "common/failure.h"
#include "transfer/commands.h"
#include "ui_TransferStartForm.h"

#include <QCloseEvent>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <cstdlib>

namespace pendra::transfer {

namespace {

constexpr qint64 kProgressIntervalMs = 100;

}  // namespace

StartForm::StartForm(ui::MessageSink& messages, QWidget* parent)
    : QMainWindow(parent), ui_(std::make_unique<Ui::TransferStartForm>()), messages_(messages) {
    ui_->setupUi(this);
    status_ = new QLabel(this);
    activity_ = new QProgressBar(this);
    activity_->setRange(0, 0);
    activity_->setMaximumWidth(160);
    activity_->hide();
    statusBar()->addWidget(status_, 1);
    statusBar()->addPermanentWidget(activity_);

    for (const Command& command : kCommands) {
        const QString entry = QLatin1String(command.menuEntry);
        connect(findChild<QAction*>(entry), &QAction::triggered, this,
                [this, entry] { menuEntryClicked(entry, 0); });
    }
    connect(ui_->cmdstop, &QPushButton::clicked, this, &StartForm::stop);
}

StartForm::~StartForm() = default;

void StartForm::BwOutp_Click(int index) {
    menuEntryClicked(QStringLiteral("BwOutp"), index);
}

void StartForm::StammOutp_Click(int index) {
    menuEntryClicked(QStringLiteral("StammOutp"), index);
}

void StartForm::Kontenoutp_Click(int index) {
    menuEntryClicked(QStringLiteral("Kontenoutp"), index);
}

void StartForm::menuEntryClicked(const QString& entry, int index) {
    const Command* command = commandOfMenuEntry(entry);
    if (index == 0 && command != nullptr) {
        run(command->function);
    }
}

void StartForm::run(void (*command)(CommandRun&)) {
    // While DATEV's converter runs the window handles events; a second command then would
    // rewrite the converter's settings under it.
    if (busy_) {
        return;
    }
    setBusy(true);
    QElapsedTimer sinceUpdate;
    sinceUpdate.start();
    CommandRun commandRun(messages_, [this, &sinceUpdate](int records) {
        if (sinceUpdate.elapsed() >= kProgressIntervalMs) {
            showProgress(records);
            sinceUpdate.restart();
        }
    });
    try {
        command(commandRun);
    } catch (const Failure& failure) {
        messages_.show(QStringLiteral("Die Ausspielung wurde wegen eines Fehlers beendet:\n\n%1\n\n"
                                      "Was bis dahin geschrieben und als gebucht gekennzeichnet "
                                      "wurde, bleibt erhalten.")
                           .arg(failure.message()),
                       {}, ui::Icon::Critical);
    }
    setBusy(false);
}

void StartForm::showProgress(int records) {
    status_->setText(QStringLiteral("Datensätze geschrieben: %1").arg(records));
    // Repaint only: clicks and keys wait until the command is done.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void StartForm::setBusy(bool busy) {
    busy_ = busy;
    menuBar()->setEnabled(!busy);
    activity_->setVisible(busy);
    status_->setText(busy ? QStringLiteral("Ausspielung läuft …") : QString());
}

void StartForm::stop() {
    if (busy_) {
        // Only the wait for DATEV's converter lets Stop through during a command. Ending at
        // once must not let the command go on; what it wrote and marked so far stays.
        std::_Exit(EXIT_SUCCESS);
    }
    emit stopRequested();
}

void StartForm::closeEvent(QCloseEvent* event) {
    stop();
    event->accept();
}

}  // namespace pendra::transfer
