#pragma once

#include "settings_editor/Context.h"

#include <QWidget>

#include <memory>

namespace Ui {
class DatevForm;
}

namespace pendra::settings_editor {

// The DATEV settings form: the advisor and client numbers and the output path of DATEV's
// Damo32.ini, and the currency code of Pendra.ini. It loads both files when it is created
// and destroys itself when it closes.
class DatevForm : public QWidget {
    Q_OBJECT

public:
    DatevForm(Context context, QWidget* parent);
    ~DatevForm() override;

signals:
    // The form is closing, by its buttons or by the window's close button.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void accept();

    std::unique_ptr<Ui::DatevForm> ui_;
    Context context_;
};

}  // namespace pendra::settings_editor
