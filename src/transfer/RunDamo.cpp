#include "transfer/RunDamo.h"

#include "common/PrivateProfile.h"
#include "common/failure.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/system_error_text.h"
#include "transfer/settings_lookup.h"

#include <QEventLoop>
#include <QProcess>

namespace pendra::transfer::RunDamo {

namespace {

QString program(const QString& datevFolder, const QString& name) {
    return platform::resolvePath(platform::joinPath(datevFolder, name));
}

Failure notStarted(const QString& path, const QString& reason) {
    return Failure(QStringLiteral("Das DATEV-Programm \"%1\" kann nicht gestartet werden: %2")
                       .arg(path, reason));
}

// The DATEV folder, or the empty text after telling the user how to enter it.
QString datevFolderOrStop(CommandRun& run, const QString& howToEnter) {
    const QString datev = datevProgramFolder(run);
    if (datev.isEmpty()) {
        stopRun(run, {QStringLiteral("Datev_Path in der {windir}\\Pendra.ini nicht gefunden"),
                      howToEnter});
    }
    return datev;
}

// The writes are silent, but the converter runs on whatever the file names: after a failed
// write that is the last run's file, which would go to DATEV twice while this one went
// nowhere. Not started, the file's marker stays, and the next run hands it over.
void confirmConverterKeys(const QString& damo, const QString& inputFile,
                          const QString& formatName) {
    const QString section = QStringLiteral("Einstellungen");
    constexpr int kBufferSize = 4096;
    const auto written = [&](const QString& key) {
        return platform::getPrivateProfileString(section, key, QString(), kBufferSize, damo);
    };
    if (written(QStringLiteral("Eingabedatei")) != inputFile ||
        written(QStringLiteral("Formatname")) != formatName) {
        throw Failure(QStringLiteral("Die Einstellungen für den DATEV-Konverter können nicht in "
                                     "die Datei \"%1\" geschrieben werden. Die Datei \"%2\" "
                                     "wird beim nächsten Lauf nachträglich übergeben.")
                          .arg(damo, inputFile));
    }
}

// The converter reads its whole run from the [Einstellungen] section of Damo32.ini.
void writeConverterKeys(const QString& datev, const QString& inputFile, const QString& formatName) {
    const QString damo = damoIniFile(datev);
    const QString section = QStringLiteral("Einstellungen");
    common::PrivateProfile::WriteIniValue(section, QStringLiteral("Protokolldatei"),
                                          platform::joinPath(datev, QStringLiteral("damo.prt")),
                                          damo);
    common::PrivateProfile::WriteIniValue(section, QStringLiteral("Eingabeformat"),
                                          platform::joinPath(datev, QStringLiteral("input32.ini")),
                                          damo);
    common::PrivateProfile::WriteIniValue(section, QStringLiteral("Ausgabeformat"),
                                          platform::joinPath(datev, QStringLiteral("output32.ini")),
                                          damo);
    common::PrivateProfile::WriteIniValue(section, QStringLiteral("Eingabedatei"), inputFile, damo);
    common::PrivateProfile::WriteIniValue(section, QStringLiteral("Formatname"), formatName, damo);
    confirmConverterKeys(damo, inputFile, formatName);
}

}  // namespace

void RunPutSelf(CommandRun& run, const QString& fileName, const QString& typeWord) {
    const QString datev = datevFolderOrStop(
        run, QStringLiteral("Bitte eintragen: [DATEV] und datev={Pfad der Datev-Programme}"));
    if (datev.isEmpty()) {
        return;
    }
    const QString tmp = tempFolder(run);
    const QString path = program(datev, QStringLiteral("put_self32.exe"));
    QProcess process;
    process.setProgram(path);
    process.setArguments({tmp, fileName, typeWord});
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    if (!process.startDetached()) {
        throw notStarted(path, platform::germanSystemError(process.errorString()));
    }
}

void RunConverter(CommandRun& run, const QString& inputFile, const QString& formatName) {
    const QString datev = datevFolderOrStop(
        run, QStringLiteral("Bitte eintragen:[DATEV] und datev={Pfad der Datev-Programme}"));
    if (datev.isEmpty()) {
        return;
    }
    writeConverterKeys(datev, inputFile, formatName);
    const QString path = program(datev, QStringLiteral("damo32.exe"));
    QProcess converter;
    converter.setProgram(path);
    converter.setStandardOutputFile(QProcess::nullDevice());
    converter.setStandardErrorFile(QProcess::nullDevice());
    converter.start();
    if (!converter.waitForStarted()) {
        throw notStarted(path, platform::germanSystemError(converter.errorString()));
    }
    // Wait in an event loop: the window stays responsive and no processor is kept busy.
    QEventLoop loop;
    QObject::connect(&converter, &QProcess::finished, &loop, &QEventLoop::quit);
    if (converter.state() != QProcess::NotRunning) {
        loop.exec();
    }
}

void handToDatev(CommandRun& run, const QString& tmp, const QString& baseName,
                 const QString& typeWord, const QString& formatName) {
    RunPutSelf(run, baseName + QStringLiteral(".txt"), typeWord);
    RunConverter(run, platform::joinPath(tmp, baseName), formatName);
}

}  // namespace pendra::transfer::RunDamo
