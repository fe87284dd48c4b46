// setup: the wizard that installs the accounting application and its components, or removes
// them.
#include "setup/SetupContext.h"
#include "setup/gui/Frame.h"
#include "ui/german_translation.h"
#include "ui/qt_message_sink.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // No display name: Qt would append it to every window title.
    QApplication::setApplicationName(QStringLiteral("setup"));
    pendra::ui::installGermanTranslation(app);

    pendra::ui::QtMessageSink messages(QStringLiteral("PENDRA Setup"));
    pendra::setup::SetupContext context{
        messages, pendra::setup::sourceDirectoryOf(QCoreApplication::applicationFilePath()), {}};
    pendra::setup::Frame frame(context);
    frame.exec();
    return 0;
}
