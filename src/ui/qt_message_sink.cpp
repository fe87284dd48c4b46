#include "ui/qt_message_sink.h"

#include <QMessageBox>

namespace pendra::ui {

namespace {

QMessageBox::Icon boxIcon(Icon icon) {
    switch (icon) {
        case Icon::Information:
            return QMessageBox::Information;
        case Icon::Warning:
            return QMessageBox::Warning;
        case Icon::Critical:
            return QMessageBox::Critical;
        case Icon::Question:
            return QMessageBox::Question;
        case Icon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons boxButtons(Buttons buttons) {
    switch (buttons) {
        case Buttons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case Buttons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case Buttons::Ok:
            break;
    }
    return QMessageBox::Ok;
}

}  // namespace

Answer QtMessageSink::ask(const Message& message) {
    const QString caption =
        message.caption.isEmpty() ? defaultCaption_ : message.caption;
    QMessageBox box(boxIcon(message.icon), caption, message.text, boxButtons(message.buttons),
                    parent_);
    switch (box.exec()) {
        case QMessageBox::Cancel:
            return Answer::Cancel;
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            break;
    }
    return Answer::Ok;
}

}  // namespace pendra::ui
