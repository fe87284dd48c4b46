// setup: the wizard that installs the accounting application and its components, or removes
// them. With arguments it runs without a window (setup --help).
#include "setup/SetupContext.h"
#include "setup/cli/unattended.h"
#include "setup/gui/Frame.h"
#include "ui/german_translation.h"
#include "ui/qt_message_sink.h"

#include <QApplication>

#include <iostream>

namespace {

int runWindow(int argc, char** argv) {
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

}  // namespace

int main(int argc, char** argv) {
    if (argc <= 1) {
        return runWindow(argc, argv);
    }
    const QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("setup"));
    return pendra::setup::cli::run(QCoreApplication::arguments().mid(1), {std::cout, std::cerr});
}
