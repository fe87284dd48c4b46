// Stand-in for DATEV's converter damo32.exe.
//
// Reads its instructions from Damo32.ini beside the program, reads "Eingabedatei" + ".txt"
// (Windows-1252), checks every record and writes the good ones as one DATEV-Format file
// (EXTF_….csv) into "Ausgabepfad". The protocol in "Protokolldatei" names the run's settings,
// every refused record with line, field and value, the file written and the counts;
// damo32.log beside the program gets one line per run (input file, records read).
// PENDRA_DAMO_DELAY_MS makes it take that long first. For tests, PENDRA_DAMO_COPY_DIR names a
// folder that gets a copy of every input file as read, numbered per run
// ("0007_FIBU-BW.1200.txt"). Exit code 0 when no record was refused, 1 otherwise.

#include "platform/codepage.h"
#include "platform/paths.h"
#include "tools/damo32/conversion.h"
#include "tools/damo32/output_file.h"
#include "tools/damo32/protocol.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

namespace {

using namespace pendra::platform;
using namespace pendra::tools::damo;

QString besideProgram(const QString& name) {
    return resolvePath(QDir(QCoreApplication::applicationDirPath()).filePath(name));
}

void waitIfAsked() {
    const int delay = qEnvironmentVariableIntValue("PENDRA_DAMO_DELAY_MS");
    if (delay > 0) {
        QThread::msleep(static_cast<unsigned long>(delay));
    }
}

// Only a folder of this machine takes output; a drive such as "a:\" does not exist here.
QString writeOutput(const Category& category, const RunSettings& settings,
                    const Conversion& conversion) {
    if (conversion.lines.isEmpty() || !QDir::isAbsolutePath(settings.outputFolder) ||
        !QDir().mkpath(settings.outputFolder)) {
        return QString();
    }
    const QDateTime now = QDateTime::currentDateTime();
    return writeNewDatevFile(settings.outputFolder, category.fileWord,
                             QFileInfo(settings.input).fileName(), now,
                             datevFile(category, settings, now, conversion.lines));
}

// What reached the converter over several runs can be counted.
void appendHistory(const QString& input, int records) {
    QFile history(besideProgram(QStringLiteral("damo32.log")));
    if (history.open(QIODevice::WriteOnly | QIODevice::Append)) {
        history.write(
            (QFileInfo(input).fileName() + u'\t' + QString::number(records) + u'\n').toUtf8());
    }
}

void writeProtocol(const QString& path, const QStringList& lines) {
    QFile out(resolvePath(path));
    if (!path.isEmpty() && out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        out.write(toAnsi(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
    }
}

// Converters that run at the same time never take the same number.
void keepCopyIfAsked(const QString& inputFile, const QByteArray& input) {
    const QString folder = qEnvironmentVariable("PENDRA_DAMO_COPY_DIR");
    if (folder.isEmpty() || !QDir().mkpath(folder)) {
        return;
    }
    for (qsizetype number = QDir(folder).entryList(QDir::Files).size();; ++number) {
        QFile copy(QDir(folder).filePath(QStringLiteral("%1_%2")
                                             .arg(number, 4, 10, QLatin1Char('0'))
                                             .arg(QFileInfo(inputFile).fileName())));
        if (copy.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            copy.write(input);
            return;
        }
        if (!copy.exists()) {
            return;
        }
    }
}

Conversion convertInput(const Category* category, QFile& in, const RunSettings& settings,
                        QStringList& protocol) {
    if (!in.open(QIODevice::ReadOnly)) {
        protocol.append(QStringLiteral("Eingabedatei nicht lesbar: ") + in.fileName());
        return {};
    }
    const QByteArray input = in.readAll();
    keepCopyIfAsked(in.fileName(), input);
    if (category == nullptr) {
        protocol.append(QStringLiteral("Formatname unbekannt: ") + settings.formatName);
        return {};
    }
    return convertRecords(*category, input, settings);
}

}  // namespace

int main(int argc, char* argv[]) {
    const QCoreApplication app(argc, argv);
    waitIfAsked();

    const QString ini = besideProgram(QStringLiteral("Damo32.ini"));
    const RunSettings settings = readRunSettings(ini);
    const Category* category = categoryOf(settings.formatName);
    QStringList protocol = QStringList{QStringLiteral("DAMO32-Protokoll")} + settingLines(ini);

    QFile in(resolvePath(settings.input + QStringLiteral(".txt")));
    const Conversion conversion = convertInput(category, in, settings, protocol);
    protocol.insert(1, QStringLiteral("Datensaetze gelesen=%1").arg(conversion.read));
    const QString written =
        category == nullptr ? QString() : writeOutput(*category, settings, conversion);
    protocol.append(protocolLines(conversion, written));

    appendHistory(settings.input, conversion.read);
    writeProtocol(settings.protocolFile, protocol);
    const bool complete = category != nullptr && in.error() == QFileDevice::NoError &&
                          conversion.refused == 0 && conversion.unreadable.isEmpty();
    return complete ? 0 : 1;
}
