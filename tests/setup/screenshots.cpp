// Renders the wizard with its choice, folder, work and finish pages into PNG files for the
// documentation: setup_screenshots <folder>. Runs on the offscreen platform in a system root
// of its own.
#include "setup/RegistryKey.h"
#include "setup/gui/Frame.h"
#include "setup/gui/WorkPage.h"
#include "ui/recording_message_sink.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdio>

namespace {

bool save(QWidget& frame, const QString& folder, const char* name) {
    const QString file = QDir(folder).filePath(QString::fromLatin1(name));
    if (!frame.grab().save(file)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return false;
    }
    return true;
}

void seedRegistry() {
    pendra::setup::RegistryKey key;
    key.SetKey(pendra::setup::RegistryKey::Root::LocalMachine,
               QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion"));
    key.WriteString(QString(), QStringLiteral("ProgramFilesDir"), QStringLiteral("/opt"));
    key.SetKey(pendra::setup::RegistryKey::Root::LocalMachine,
               QStringLiteral("Software\\velmora systeme gmbh\\Pendra\\1.0"));
    key.WriteString(QString(), QStringLiteral("Datev"), QStringLiteral("Ja"));
}

// A work page as it looks when its work is done: every line turned on.
bool saveDone(pendra::setup::Frame& frame, pendra::setup::Page page,
              const std::vector<pendra::setup::StatusLine>& lines, const QString& folder,
              const char* name) {
    frame.showPage(page);
    auto* work = qobject_cast<pendra::setup::WorkPage*>(frame.page());
    for (const pendra::setup::StatusLine& line : lines) {
        work->turnOn(line.id);
    }
    return save(frame, folder, name);
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QTemporaryDir work;
    qputenv("PENDRA_SYSTEM_ROOT", work.path().toLocal8Bit());
    qputenv("ODBCSYSINI", work.path().toLocal8Bit());
    qputenv("ODBCINI", QDir(work.path()).filePath(QStringLiteral("user-odbc.ini")).toLocal8Bit());
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: setup_screenshots <folder>\n");
        return 2;
    }
    const QString out = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QDir().mkpath(out);
    seedRegistry();

    pendra::ui::RecordingMessageSink messages;
    pendra::setup::SetupContext context{messages, work.path() + QLatin1Char('/'), {}};
    pendra::setup::Frame frame(context);
    frame.show();
    bool ok = save(frame, out, "setup-choice.png");
    frame.showPage(pendra::setup::Page::Folder);
    ok = save(frame, out, "setup-folder.png") && ok;
    context.installationDirectory = work.path() + QStringLiteral("/Pendra/");
    using pendra::setup::Page;
    ok = saveDone(frame, Page::MainInstallation, pendra::setup::mainInstallationLines(), out,
                  "setup-main-installation.png") &&
         ok;
    // A component page shows the lines of a run that went well.
    ok = saveDone(frame, Page::Datev, {{1019, {}}, {1010, {}}, {1020, {}}}, out,
                  "setup-datev.png") &&
         ok;
    ok = saveDone(frame, Page::Uninstall, pendra::setup::uninstallLines(), out,
                  "setup-uninstall.png") &&
         ok;
    context.installationDirectory = QStringLiteral("/opt/Pendra/");
    frame.showPage(pendra::setup::Page::Finish);
    ok = save(frame, out, "setup-finish.png") && ok;
    for (const QString& text : messages.texts()) {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    return ok ? 0 : 1;
}
