#pragma once

#include "setup/SetupContext.h"
#include "setup/Wizard.h"
#include "setup/gui/WizardPage.h"

#include <QDialog>
#include <QPoint>

#include <memory>
#include <optional>

namespace Ui {
class SetupFrame;
}

namespace pendra::setup {

// The wizard's window: a frame without title bar, moved by its header, that shows one page
// at a time inside its placeholder and goes on with "Weiter >>".
class Frame : public QDialog, public WizardView {
    Q_OBJECT

public:
    explicit Frame(SetupContext& context, QWidget* parent = nullptr);
    ~Frame() override;

    const Wizard& wizard() const { return wizard_; }
    // The page shown now.
    WizardPage* page() const { return page_.get(); }

    ChoiceFlags readChoice() override;
    void showPage(Page page) override;
    void enableNext(bool enabled) override;
    void setNextCaption(const QString& caption) override;
    void finish() override;

public slots:
    // Cancel, Escape and closing the window ask first.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<WizardPage> createPage(Page page);
    void place(WizardPage& page);
    bool dragHeader(const QEvent& event);

    std::unique_ptr<Ui::SetupFrame> ui_;
    SetupContext& context_;
    Wizard wizard_;
    std::unique_ptr<WizardPage> page_;
    std::optional<QPoint> dragOffset_;
};

}  // namespace pendra::setup
