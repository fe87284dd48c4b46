#pragma once

#include "settings_editor/Context.h"
#include "settings_editor/ReadPnd.h"

#include <QWidget>

#include <memory>

namespace Ui {
class PendraIniForm;
}

namespace pendra::settings_editor {

// The application settings form: one text box per entry of Pendra.ini. It holds no data but
// its text boxes; it destroys itself when it closes.
class PendraIniForm : public QWidget {
    Q_OBJECT

public:
    PendraIniForm(Context context, QWidget* parent);
    ~PendraIniForm() override;

    // Writes the defaults of the working folder and shows them.
    void initSettings();
    // Shows what the working folder's Pendra.ini holds.
    void readSettings();

signals:
    // The form is closing, by its buttons or by the window's close button.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void accept();
    ReadPnd::PendraIniFields fields() const;
    void showFields(const ReadPnd::PendraIniFields& fields);

    std::unique_ptr<Ui::PendraIniForm> ui_;
    Context context_;
};

}  // namespace pendra::settings_editor
