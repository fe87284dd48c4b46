#include "ui/console_message_sink.h"

#include <string>

namespace pendra::ui {

namespace {

Answer negative(Buttons buttons) {
    return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
}

}  // namespace

ConsoleMessageSink::ConsoleMessageSink(std::ostream& out, std::istream& in, Input input,
                                       bool assumeYes)
    : out_(out), in_(in), input_(input), assumeYes_(assumeYes) {}

Answer ConsoleMessageSink::ask(const Message& message) {
    out_ << message.text.toStdString() << '\n';
    if (message.buttons == Buttons::Ok) {
        out_.flush();
        return Answer::Ok;
    }
    const Answer yes = message.buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
    if (assumeYes_) {
        out_.flush();
        return yes;
    }
    if (input_ != Input::Terminal) {
        out_.flush();
        return negative(message.buttons);
    }
    out_ << (message.buttons == Buttons::YesNo ? "[j = Ja, n = Nein] " : "[j = OK, n = Abbrechen] ")
         << std::flush;
    std::string reply;
    if (!std::getline(in_, reply)) {
        return negative(message.buttons);
    }
    const bool agreed = !reply.empty() && (reply.front() == 'j' || reply.front() == 'J' ||
                                           reply.front() == 'y' || reply.front() == 'Y');
    return agreed ? yes : negative(message.buttons);
}

}  // namespace pendra::ui
