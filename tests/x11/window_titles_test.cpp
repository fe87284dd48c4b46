#include "settings_editor/editor_test.h"
#include "settings_editor/gui/StartForm.h"
#include "support/demo_machine.h"
#include "support/sandbox.h"
#include "transfer/gui/StartForm.h"
#include "ui/qt_message_sink.h"
#include "ui/recording_message_sink.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>

#include <gtest/gtest.h>

using pendra::settings_editor::StartForm;
using pendra::test::Sandbox;

namespace {

// The window's name as the window system holds it (_NET_WM_NAME), once the window has one.
QString windowName(const QWidget& window) {
    const QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QProcess xprop;
        xprop.start(QStringLiteral("xprop"),
                    {QStringLiteral("-id"), QString::number(window.winId()),
                     QStringLiteral("_NET_WM_NAME")});
        xprop.waitForFinished(5000);
        const QRegularExpression quoted(QStringLiteral("= \"(.*)\"\\s*$"));
        const auto match = quoted.match(QString::fromUtf8(xprop.readAllStandardOutput()));
        if (match.hasMatch()) {
            return match.captured(1);
        }
    }
    return QStringLiteral("<no name>");
}

QWidget* topLevel(const char* name) {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == QLatin1String(name)) {
            return window;
        }
    }
    return nullptr;
}

void trigger(QWidget& start, const char* name, int index) {
    for (QAction* entry : start.findChildren<QAction*>(QString::fromLatin1(name))) {
        if (entry->property("index").toInt() == index) {
            entry->trigger();
        }
    }
}

// What a message box showed: its name on the screen and its buttons' texts.
struct SeenBox {
    QString name;
    QStringList buttons;
};

}  // namespace

TEST(RealDesktop, TheEditorsWindowsCarryExactlyTheirOwnTitles) {
    const Sandbox box;
    pendra::ui::RecordingMessageSink messages;
    StartForm start(pendra::test::editorIn(messages, box.path()));
    start.show();
    trigger(start, "mnuPnd", 1);
    trigger(start, "mnuDatev", 0);
    ASSERT_NE(topLevel("frmPendraIni"), nullptr);
    ASSERT_NE(topLevel("frmDatev"), nullptr);
    EXPECT_EQ(windowName(start), QStringLiteral("Pendra_init"));
    EXPECT_EQ(windowName(*topLevel("frmPendraIni")), QStringLiteral("Pendra"));
    EXPECT_EQ(windowName(*topLevel("frmDatev")), QStringLiteral("Datev"));
}

TEST(RealDesktop, TheEditorProgramNamesItsStartWindowWithoutAnAddition) {
    const Sandbox box;
    QProcess editor;
    editor.setWorkingDirectory(box.path());
    editor.start(QStringLiteral(PENDRA_EDITOR), {});
    ASSERT_TRUE(editor.waitForStarted());
    QProcess search;
    search.start(QStringLiteral("xdotool"),
                 {QStringLiteral("search"), QStringLiteral("--sync"), QStringLiteral("--pid"),
                  QString::number(editor.processId()), QStringLiteral("--name"),
                  QStringLiteral("^Pendra_init$")});
    const bool found = search.waitForFinished(15000) && search.exitCode() == 0;
    editor.kill();
    editor.waitForFinished();
    EXPECT_TRUE(found) << "no window named exactly Pendra_init";
}

TEST(RealDesktop, TheTransferProgramsBoxesCarryTheirTitlesAndGermanButtons) {
    const pendra::test::DemoMachine machine(pendra::test::DemoMachine::Data::Demo);
    machine.writeFile(QStringLiteral("Datev/Damo32.ini"),
                      "[Einstellungen]\r\nAusgabepfad=a:\\\r\n");
    pendra::ui::QtMessageSink messages(QStringLiteral("DATEV-Schnittstelle"));
    pendra::transfer::StartForm form(messages);
    form.show();

    // Answers every box as it comes: OK, or Cancel where it is offered.
    QList<SeenBox> boxes;
    QTimer answering;
    QObject::connect(&answering, &QTimer::timeout, [&boxes] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) {
            return;
        }
        SeenBox seen{windowName(*box), {}};
        for (QAbstractButton* button : box->buttons()) {
            seen.buttons.append(button->text().remove(u'&'));
        }
        seen.buttons.sort();
        boxes.append(seen);
        QAbstractButton* cancel = box->button(QMessageBox::Cancel);
        (cancel != nullptr ? cancel : box->buttons().constFirst())->click();
    });
    answering.start(50);

    // The diskette prompt first, cancelled; then the run to its end, OK for the prompt.
    form.findChild<QAction*>(QStringLiteral("BwOutp"))->trigger();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0].name, QStringLiteral("DATEV-Schnittstelle"));
    EXPECT_EQ(boxes[0].buttons, (QStringList{QStringLiteral("Abbrechen"), QStringLiteral("OK")}));

    machine.writeFile(QStringLiteral("Datev/Damo32.ini"), "[Einstellungen]\r\nAusgabepfad=\r\n");
    boxes.clear();
    form.findChild<QAction*>(QStringLiteral("BwOutp"))->trigger();
    ASSERT_FALSE(boxes.isEmpty());
    EXPECT_EQ(boxes.constLast().name, QStringLiteral("Pendra")) << "the closing box";
    EXPECT_EQ(boxes.constFirst().name, QStringLiteral("DATEV-Schnittstelle"));
}
