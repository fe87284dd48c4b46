#pragma once

#include "transfer/CommandRun.h"
#include "ui/message_sink.h"

#include <QMainWindow>

#include <memory>

class QLabel;
class QProgressBar;

namespace Ui {
class TransferStartForm;
}

namespace pendra::transfer {

// The transfer program's window: three export commands in its menu, Stop to end. While a
// command runs, the menu is disabled and the status bar shows how many records were written.
class StartForm : public QMainWindow {
    Q_OBJECT

public:
    explicit StartForm(ui::MessageSink& messages, QWidget* parent = nullptr);
    ~StartForm() override;

    // The menu entries' handlers; each entry exists once, with index 0.
    void BwOutp_Click(int index);
    void StammOutp_Click(int index);
    void Kontenoutp_Click(int index);

    bool isBusy() const { return busy_; }

signals:
    // Stop was pressed or the window closed while no command ran.
    void stopRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void menuEntryClicked(const QString& entry, int index);
    void run(void (*command)(CommandRun&));
    void showProgress(int records);
    void setBusy(bool busy);
    void stop();

    std::unique_ptr<Ui::TransferStartForm> ui_;
    ui::MessageSink& messages_;
    QLabel* status_ = nullptr;
    QProgressBar* activity_ = nullptr;
    bool busy_ = false;
};

}  // namespace pendra::transfer
