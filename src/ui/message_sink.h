#pragma once

#include <QString>

namespace pendra::ui {

enum class Icon { None, Information, Warning, Critical, Question };
enum class Buttons { Ok, OkCancel, YesNo };
enum class Answer { Ok, Cancel, Yes, No };

struct Message {
    QString text;
    QString caption;  // empty: the program's title
    Icon icon = Icon::None;
    Buttons buttons = Buttons::Ok;
};

// Every message the programs show to the user passes through here: message boxes in the
// window programs, standard output on the batch command line, a recorder in the tests.
class MessageSink {
public:
    virtual ~MessageSink() = default;

    // Shows the message and returns the button the user chose.
    virtual Answer ask(const Message& message) = 0;

    void show(const QString& text, const QString& caption = {}, Icon icon = Icon::None) {
        ask({text, caption, icon, Buttons::Ok});
    }
    bool askOkCancel(const QString& text, const QString& caption = {}, Icon icon = Icon::None) {
        return ask({text, caption, icon, Buttons::OkCancel}) == Answer::Ok;
    }
    bool askYesNo(const QString& text, const QString& caption = {}, Icon icon = Icon::Question) {
        return ask({text, caption, icon, Buttons::YesNo}) == Answer::Yes;
    }
};

}  // namespace pendra::ui
