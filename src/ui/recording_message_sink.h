#pragma once

#include "ui/message_sink.h"

#include <QStringList>

#include <deque>
#include <vector>

namespace pendra::ui {

// Keeps every message in order and answers questions from a script, for tests. A question
// with no scripted answer is answered Cancel or No, so a forgotten answer never agrees to
// anything.
class RecordingMessageSink : public MessageSink {
public:
    Answer ask(const Message& message) override;

    void answerNext(Answer answer) { answers_.push_back(answer); }

    const std::vector<Message>& messages() const { return messages_; }
    QStringList texts() const;
    void clear() { messages_.clear(); }

private:
    std::vector<Message> messages_;
    std::deque<Answer> answers_;
};

}  // namespace pendra::ui
