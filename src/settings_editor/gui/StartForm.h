#pragma once

#include "settings_editor/Context.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>
#include <vector>

namespace Ui {
class EditorStartForm;
}

namespace pendra::settings_editor {

class DatevForm;
class PendraIniForm;

// The editor's start form: creates a missing Pendra.ini when it is created and opens the two
// settings forms from its menu. Each settings form exists at most once, a modeless window of
// its own beside it (not its child, so it neither stays above it nor lacks a task-bar entry).
class StartForm : public QMainWindow {
    Q_OBJECT

public:
    explicit StartForm(Context context, QWidget* parent = nullptr);
    ~StartForm() override;

signals:
    // Stop was chosen: the settings forms are closed without saving; the program is to end.
    void stopRequested();

protected:
    // Closing the start form is taken as Stop unless a settings form is open.
    void closeEvent(QCloseEvent* event) override;

private:
    void initialise();
    void edit();
    void editDatev();
    void stop();
    void comeBack();
    PendraIniForm& pendraIniForm();
    std::vector<QWidget*> settingsForms() const;

    std::unique_ptr<Ui::EditorStartForm> ui_;
    Context context_;
    QPointer<PendraIniForm> pendraIni_;
    QPointer<DatevForm> datev_;
};

}  // namespace pendra::settings_editor
