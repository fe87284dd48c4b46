// Writes settings the way the suite's programs do, many times over, so that a test can run
// several writers against the same files at once:
//
//   settings_writer editor <folder> <count>
//     the settings editor's DATEV form accepted <count> times with the values i (Damo32.ini and
//     Pendra.ini of <folder>, whose Pendra.ini names <folder> as the DATEV folder), each time
//     with one key [Editor] e<i>=<i> of its own written by the editor's write routine;
//   settings_writer transfer <damo32.ini> <prefix> <count>
//     the transfer program's Damo32.ini write: key <prefix><i>=<i>, into the sections the
//     transfer program writes, in turn.
//
// Exit code 0 when every write was made, 1 when the editor reported a failed write, 2 on a
// wrong call.
#include "common/PrivateProfile.h"
#include "common/failure.h"
#include "settings_editor/datev_settings.h"
#include "settings_editor/profiles.h"
#include "ui/recording_message_sink.h"

#include <QCoreApplication>
#include <QStringList>

using namespace pendra;

namespace {

int editor(const QString& folder, int count) {
    ui::RecordingMessageSink messages;
    const settings_editor::Context context{messages, [folder] { return folder; }};
    const QString settings = settings_editor::settingsFile(folder);
    for (int i = 0; i < count; ++i) {
        const QString value = QString::number(i);
        if (!settings_editor::acceptDatev(context, {value, value, value, value})) {
            return 1;
        }
        try {
            settings_editor::profiles::writeProfileValueOrThrow(settings, QStringLiteral("Editor"),
                                                                QStringLiteral("e") + value, value);
        } catch (const Failure&) {
            return 1;
        }
    }
    return 0;
}

int transfer(const QString& damo, const QString& prefix, int count) {
    const QString sections[] = {QStringLiteral("Einstellungen"), QStringLiteral("DATEV-Vorlauf")};
    for (int i = 0; i < count; ++i) {
        common::PrivateProfile::WriteIniValue(sections[i % 2], prefix + QString::number(i),
                                              QString::number(i), damo);
    }
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    const QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 4 && args[1] == QLatin1String("editor")) {
        return editor(args[2], args[3].toInt());
    }
    if (args.size() == 5 && args[1] == QLatin1String("transfer")) {
        return transfer(args[2], args[3], args[4].toInt());
    }
    return 2;
}
