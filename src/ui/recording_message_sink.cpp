#include "ui/recording_message_sink.h"

namespace pendra::ui {

Answer RecordingMessageSink::ask(const Message& message) {
    messages_.push_back(message);
    if (message.buttons == Buttons::Ok) {
        return Answer::Ok;
    }
    if (answers_.empty()) {
        return message.buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
    }
    const Answer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

QStringList RecordingMessageSink::texts() const {
    QStringList result;
    for (const Message& message : messages_) {
        result.append(message.text);
    }
    return result;
}

}  // namespace pendra::ui
