// Pendra_ini: edits the Pendra.ini of the folder it is started in, and DATEV's Damo32.ini.
#include "settings_editor/Context.h"
#include "settings_editor/gui/StartForm.h"
#include "ui/german_translation.h"
#include "ui/qt_message_sink.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pendra_ini"));
    pendra::ui::installGermanTranslation(app);
    // Only Stop ends the program; closing a settings form brings the start form back.
    QApplication::setQuitOnLastWindowClosed(false);

    pendra::ui::QtMessageSink messages(QStringLiteral("Pendra_ini"));
    pendra::settings_editor::StartForm start(
        {messages, pendra::settings_editor::processWorkingFolder()});
    QObject::connect(&start, &pendra::settings_editor::StartForm::stopRequested, &app,
                     &QApplication::quit, Qt::QueuedConnection);
    start.show();
    return QApplication::exec();
}
