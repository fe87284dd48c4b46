#pragma once

#include "ui/message_sink.h"

#include <QPointer>
#include <QWidget>

#include <utility>

namespace pendra::ui {

// Modal message boxes over the given window; the caption is the program's title unless the
// message names one. The title is given here, not taken from the application's display name:
// Qt would append that to every window title.
class QtMessageSink : public MessageSink {
public:
    explicit QtMessageSink(QString defaultCaption, QWidget* parent = nullptr)
        : defaultCaption_(std::move(defaultCaption)), parent_(parent) {}

    Answer ask(const Message& message) override;

private:
    QString defaultCaption_;
    QPointer<QWidget> parent_;
};

}  // namespace pendra::ui
