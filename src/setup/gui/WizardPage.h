#pragma once

#include <QWidget>

namespace pendra::setup {

// A page of the wizard, laid over the frame's placeholder. The frame calls opened() once the
// page is shown and painted and the previous page is gone.
class WizardPage : public QWidget {
    Q_OBJECT

public:
    using QWidget::QWidget;

    virtual void opened() {}
};

}  // namespace pendra::setup
