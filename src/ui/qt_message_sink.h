#pragma once

#include "ui/message_sink.h"

#include <QPointer>
#include <QWidget>

namespace pendra::ui {

// Modal message boxes over the given window; the caption is the program's title unless the
// message names one.
class QtMessageSink : public MessageSink {
public:
    explicit QtMessageSink(QWidget* parent = nullptr) : parent_(parent) {}

    Answer ask(const Message& message) override;

private:
    QPointer<QWidget> parent_;
};

}  // namespace pendra::ui
