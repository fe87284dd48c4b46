#pragma once

#include "ui/message_sink.h"

#include <istream>
#include <ostream>

namespace pendra::ui {

// Messages of the batch command line: each one is printed on its own line, exactly its text.
// A question is answered yes/OK when `assumeYes` is set, otherwise asked at the prompt when
// input is a terminal, otherwise answered Cancel/No.
class ConsoleMessageSink : public MessageSink {
public:
    enum class Input { Terminal, None };

    ConsoleMessageSink(std::ostream& out, std::istream& in, Input input, bool assumeYes);

    Answer ask(const Message& message) override;

private:
    std::ostream& out_;
    std::istream& in_;
    Input input_;
    bool assumeYes_;
};

}  // namespace pendra::ui
