#include "setup/gui/Frame.h"

#include "setup/gui/ChoicePage.h"
#include "setup/gui/FinishPage.h"
#include "setup/gui/FolderPage.h"
#include "setup/gui/WorkPage.h"
#include "setup/gui/dialog_units.h"
#include "ui_SetupFrame.h"

#include <QIcon>
#include <QMouseEvent>
#include <QWindow>

namespace pendra::setup {

namespace {

QString sidePicture(Page page) {
    switch (page) {
        case Page::Choice:
            return QStringLiteral(":/setup/side-choice.png");
        case Page::Datev:
            return QStringLiteral(":/setup/side-datev.png");
        case Page::Online:
            return QStringLiteral(":/setup/side-online.png");
        case Page::Folder:
        case Page::MainInstallation:
        case Page::Uninstall:
        case Page::Finish:
            break;
    }
    return QStringLiteral(":/setup/side-work.png");
}

}  // namespace

Frame::Frame(SetupContext& context, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::FramelessWindowHint),
      ui_(std::make_unique<Ui::SetupFrame>()),
      context_(context),
      wizard_(context, *this) {
    ui_->setupUi(this);
    setFixedSize(dialogUnitsToPixels(379, 244));
    setWindowIcon(QIcon(QStringLiteral(":/setup/icon.png")));
    ui_->header->installEventFilter(this);
    connect(ui_->id1005, &QPushButton::clicked, this, [this] { wizard_.next(); });
    connect(ui_->id2, &QPushButton::clicked, this, &Frame::reject);
    showPage(Page::Choice);
    // The choice page waits for no work of its own.
    enableNext(true);
}

Frame::~Frame() = default;

ChoiceFlags Frame::readChoice() {
    auto* choice = qobject_cast<ChoicePage*>(page_.get());
    return choice != nullptr ? choice->choice() : ChoiceFlags{};
}

// The new page is shown before the old one goes, so the placeholder never shows through.
void Frame::showPage(Page page) {
    enableNext(false);
    ui_->id1007->setPixmap(QPixmap(sidePicture(page)));
    std::unique_ptr<WizardPage> next = createPage(page);
    place(*next);
    page_ = std::move(next);
    page_->opened();
}

// Pages live inside the placeholder, so they move with the frame.
void Frame::place(WizardPage& page) {
    page.setGeometry(ui_->id1004->rect());
    page.setAutoFillBackground(true);
    page.show();
    page.repaint();
}

std::unique_ptr<WizardPage> Frame::createPage(Page page) {
    switch (page) {
        case Page::Choice:
            return std::make_unique<ChoicePage>(context_, ui_->id1004);
        case Page::Folder:
            return std::make_unique<FolderPage>(context_, *this, ui_->id1004);
        case Page::MainInstallation:
            return std::make_unique<MainInstallationPage>(context_, *this, ui_->id1004);
        case Page::Datev:
            return std::make_unique<ComponentPage>(Component::Datev, context_, *this, ui_->id1004);
        case Page::Online:
            return std::make_unique<ComponentPage>(Component::Online, context_, *this, ui_->id1004);
        case Page::Uninstall:
            return std::make_unique<UninstallPage>(wizard_.flags(), context_, *this, ui_->id1004);
        case Page::Finish:
            return std::make_unique<FinishPage>(context_, *this, ui_->id1004);
    }
    return nullptr;
}

void Frame::enableNext(bool enabled) {
    ui_->id1005->setEnabled(enabled);
}

void Frame::setNextCaption(const QString& caption) {
    ui_->id1005->setText(caption);
}

void Frame::finish() {
    accept();
}

void Frame::reject() {
    if (!confirmCancel(context_.messages)) {
        return;
    }
    page_.reset();
    QDialog::reject();
}

bool Frame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_->header && dragHeader(*event)) {
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

// Without a title bar the header is the handle: the window system moves the frame where it
// can, else the frame follows the mouse itself.
bool Frame::dragHeader(const QEvent& event) {
    switch (event.type()) {
        case QEvent::MouseButtonPress: {
            const auto& press = static_cast<const QMouseEvent&>(event);
            if (press.button() != Qt::LeftButton) {
                return false;
            }
            if (windowHandle() != nullptr && windowHandle()->startSystemMove()) {
                return true;
            }
            dragOffset_ = press.globalPosition().toPoint() - pos();
            return true;
        }
        case QEvent::MouseMove:
            if (dragOffset_) {
                move(static_cast<const QMouseEvent&>(event).globalPosition().toPoint() -
                     *dragOffset_);
                return true;
            }
            return false;
        case QEvent::MouseButtonRelease:
            dragOffset_.reset();
            return false;
        default:
            return false;
    }
}

}  // namespace pendra::setup
