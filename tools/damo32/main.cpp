// Stand-in for DATEV's converter damo32.exe.
//
// Reads its instructions from Damo32.ini beside the program, reads "Eingabedatei" + ".txt"
// (Windows-1252), writes a protocol to "Protokolldatei" with the run's settings, the number
// of records read and every line it could not read, and puts the records it read into
// "Ausgabepfad" as <Formatname>.<name of the input file>.dat; damo32.log beside the program
// gets one line per run (input file, records read). PENDRA_DAMO_DELAY_MS makes it take that
// long first. Exit code 0 when every line was read, 1 otherwise.

#include "platform/codepage.h"
#include "platform/paths.h"
#include "platform/profile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

namespace {

using namespace pendra::platform;

QString setting(const QString& ini, const QString& section, const QString& key) {
    return getPrivateProfileString(section, key, QString(), 1024, ini);
}

// The separator and the least number of fields of a line of each format.
struct Format {
    char separator;
    int minimumFields;
};

Format formatOf(const QString& name) {
    if (name == QLatin1String("OPOS-ST-OBE")) {
        return {'@', 2};
    }
    if (name == QLatin1String("FIBU-ST-OBE")) {
        return {';', 2};
    }
    return {';', 4};
}

// A booking line starts with the amount in hundredths.
bool readable(const QByteArray& line, const QString& formatName, const Format& format) {
    const QList<QByteArray> fields = line.split(format.separator);
    if (line.isEmpty() || fields.size() < format.minimumFields) {
        return false;
    }
    if (formatName == QLatin1String("FBOP-BW-OBE")) {
        bool isNumber = false;
        fields[0].toLongLong(&isNumber);
        return isNumber;
    }
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    const QCoreApplication app(argc, argv);
    const int delay = qEnvironmentVariableIntValue("PENDRA_DAMO_DELAY_MS");
    if (delay > 0) {
        QThread::msleep(static_cast<unsigned long>(delay));
    }

    const QString ini = resolvePath(
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Damo32.ini")));
    const QString settings = QStringLiteral("Einstellungen");
    const QString header = QStringLiteral("DATEV-Vorlauf");
    const QString input = setting(ini, settings, QStringLiteral("Eingabedatei"));
    const QString formatName = setting(ini, settings, QStringLiteral("Formatname"));
    const QString outputFolder = setting(ini, settings, QStringLiteral("Ausgabepfad"));
    const QString protocolFile = setting(ini, settings, QStringLiteral("Protokolldatei"));

    QStringList protocol = {QStringLiteral("DAMO32-Protokoll")};
    for (const auto& [section, key] : {std::pair{settings, QStringLiteral("Eingabedatei")},
                                       std::pair{settings, QStringLiteral("Formatname")},
                                       std::pair{settings, QStringLiteral("Eingabeformat")},
                                       std::pair{settings, QStringLiteral("Ausgabeformat")},
                                       std::pair{settings, QStringLiteral("Ausgabepfad")},
                                       std::pair{settings, QStringLiteral("Protokolldatei")},
                                       std::pair{header, QStringLiteral("Berater")},
                                       std::pair{header, QStringLiteral("Mandant")},
                                       std::pair{header, QStringLiteral("Wirtschaftsjahr")},
                                       std::pair{header, QStringLiteral("Datum-von")},
                                       std::pair{header, QStringLiteral("Datum-bis")}}) {
        protocol.append(key + QLatin1Char('=') + setting(ini, section, key));
    }

    const Format format = formatOf(formatName);
    QFile in(resolvePath(input + QStringLiteral(".txt")));
    QByteArray converted;
    int records = 0;
    int unreadable = 0;
    if (!in.open(QIODevice::ReadOnly)) {
        protocol.append(QStringLiteral("Eingabedatei nicht lesbar: ") + in.fileName());
        ++unreadable;
    } else {
        const QList<QByteArray> lines = in.readAll().split('\n');
        for (qsizetype i = 0; i < lines.size(); ++i) {
            QByteArray line = lines[i];
            if (i == lines.size() - 1 && line.isEmpty()) {
                break;  // after the last line break
            }
            if (line.endsWith('\r')) {
                line.chop(1);
            }
            if (readable(line, formatName, format)) {
                ++records;
                converted += line + "\r\n";
            } else {
                ++unreadable;
                protocol.append(
                    QStringLiteral("Zeile %1 nicht lesbar: %2").arg(i + 1).arg(fromAnsi(line)));
            }
        }
    }
    protocol.insert(1, QStringLiteral("Datensaetze gelesen=%1").arg(records));

    // Only a folder of this machine takes output; a drive such as "a:\" does not exist here.
    if (!QDir::isAbsolutePath(outputFolder)) {
        protocol.append(QStringLiteral("Ausgabepfad nicht verfuegbar: ") + outputFolder);
    } else if (QDir().mkpath(outputFolder)) {
        QFile out(QDir(outputFolder)
                      .filePath(formatName + QLatin1Char('.') + QFileInfo(input).fileName() +
                                QStringLiteral(".dat")));
        if (out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            out.write(converted);
        }
    }
    // One line per run in damo32.log beside the program: what reached the converter over
    // several runs can be counted.
    QFile history(
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("damo32.log")));
    if (history.open(QIODevice::WriteOnly | QIODevice::Append)) {
        history.write(
            (QFileInfo(input).fileName() + u'\t' + QString::number(records) + u'\n').toUtf8());
    }
    if (!protocolFile.isEmpty()) {
        QFile out(resolvePath(protocolFile));
        if (out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            out.write(toAnsi(protocol.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
        }
    }
    return unreadable == 0 ? 0 : 1;
}
