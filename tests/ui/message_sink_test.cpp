#include "ui/console_message_sink.h"
#include "ui/qt_message_sink.h"
#include "ui/recording_message_sink.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <sstream>

#include <gtest/gtest.h>

using namespace pendra::ui;

TEST(RecordingMessageSink, KeepsMessagesInOrderAndAnswersFromItsScript) {
    RecordingMessageSink sink;
    sink.answerNext(Answer::Ok);
    sink.show(QStringLiteral("Eins"));
    EXPECT_TRUE(sink.askOkCancel(QStringLiteral("Zwei")));
    EXPECT_FALSE(sink.askOkCancel(QStringLiteral("Drei")));
    EXPECT_FALSE(sink.askYesNo(QStringLiteral("Vier")));
    EXPECT_EQ(sink.texts(), (QStringList{QStringLiteral("Eins"), QStringLiteral("Zwei"),
                                         QStringLiteral("Drei"), QStringLiteral("Vier")}));
    EXPECT_EQ(sink.messages()[1].buttons, Buttons::OkCancel);
}

TEST(ConsoleMessageSink, PrintsEachMessageOnItsOwnLineExactly) {
    std::ostringstream out;
    std::istringstream in;
    ConsoleMessageSink sink(out, in, ConsoleMessageSink::Input::None, false);
    sink.show(QStringLiteral("Anzahl übertragener Datensätze: 12"));
    sink.show(QStringLiteral("Zweite Meldung"));
    EXPECT_EQ(out.str(), "Anzahl übertragener Datensätze: 12\nZweite Meldung\n");
}

TEST(ConsoleMessageSink, QuestionsAreAnsweredByTheFlagThePromptOrElseCancel) {
    std::ostringstream out;
    std::istringstream noInput;
    ConsoleMessageSink withoutTerminal(out, noInput, ConsoleMessageSink::Input::None, false);
    EXPECT_FALSE(withoutTerminal.askOkCancel(QStringLiteral("Diskette einlegen")));
    EXPECT_FALSE(withoutTerminal.askYesNo(QStringLiteral("Weiter?")));

    ConsoleMessageSink withYes(out, noInput, ConsoleMessageSink::Input::None, true);
    EXPECT_TRUE(withYes.askOkCancel(QStringLiteral("Diskette einlegen")));
    EXPECT_TRUE(withYes.askYesNo(QStringLiteral("Weiter?")));

    std::istringstream replies("j\nn\n");
    ConsoleMessageSink terminal(out, replies, ConsoleMessageSink::Input::Terminal, false);
    EXPECT_TRUE(terminal.askOkCancel(QStringLiteral("A")));
    EXPECT_FALSE(terminal.askOkCancel(QStringLiteral("B")));
    EXPECT_FALSE(terminal.askOkCancel(QStringLiteral("C")));  // input ended
}

TEST(QtMessageSink, ShowsAModalBoxWithTheProgramTitleAndReturnsTheChosenButton) {
    QtMessageSink sink(QStringLiteral("Programmtitel"));
    QString seenCaption;
    QString seenText;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seenCaption = box->windowTitle();
        seenText = box->text();
        box->button(QMessageBox::Cancel)->click();
    });
    EXPECT_FALSE(sink.askOkCancel(QStringLiteral("Bitte Diskette einlegen")));
    EXPECT_EQ(seenCaption, QStringLiteral("Programmtitel"));
    EXPECT_EQ(seenText, QStringLiteral("Bitte Diskette einlegen"));

    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seenCaption = box->windowTitle();
        box->button(QMessageBox::Yes)->click();
    });
    EXPECT_TRUE(sink.askYesNo(QStringLiteral("Weiter?"), QStringLiteral("Frage")));
    EXPECT_EQ(seenCaption, QStringLiteral("Frage"));
}
