// pendra_transfer: the DATEV transfer program. Without arguments it opens its window; with
// --batch it runs one export command on the command line.
#include "transfer/cli/batch.h"
#include "transfer/gui/StartForm.h"
#include "ui/german_translation.h"
#include "ui/qt_message_sink.h"

#include <QApplication>

#include <unistd.h>
#include <iostream>

namespace {

int runWindow(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pendra_transfer"));
    pendra::ui::installGermanTranslation(app);
    pendra::ui::QtMessageSink messages(QStringLiteral("DATEV-Schnittstelle"));
    pendra::transfer::StartForm window(messages);
    QObject::connect(&window, &pendra::transfer::StartForm::stopRequested, &app,
                     &QApplication::quit, Qt::QueuedConnection);
    window.show();
    return QApplication::exec();
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc <= 1) {
        return runWindow(argc, argv);
    }
    const QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pendra_transfer"));
    return pendra::transfer::cli::run(QCoreApplication::arguments().mid(1),
                                      {std::cout, std::cerr, std::cin, ::isatty(STDIN_FILENO) == 1,
                                       ::isatty(STDERR_FILENO) == 1});
}
