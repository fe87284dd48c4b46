#include "tools/damo32/protocol.h"

namespace pendra::tools::damo {

namespace {

QString problemLine(const Problem& problem) {
    const QString where = problem.line == 0 ? QStringLiteral("Einstellungen")
                                            : QStringLiteral("Zeile %1").arg(problem.line);
    return QStringLiteral("%1, Feld „%2“, Wert „%3“: %4")
        .arg(where, problem.field, problem.value, problem.reason);
}

QString outcome(const Conversion& conversion, const QString& outputFile) {
    if (outputFile.isEmpty()) {
        return conversion.lines.isEmpty()
                   ? QStringLiteral("Keine DATEV-Format-Datei geschrieben: kein fehlerfreier Satz")
                   : QStringLiteral(
                         "DATEV-Format-Datei nicht geschrieben: Ausgabepfad nicht "
                         "verfügbar");
    }
    QString text = QStringLiteral("DATEV-Format-Datei: ") + outputFile;
    if (conversion.refused > 0) {
        text += QStringLiteral(
            "\r\nDie Datei enthält nur die fehlerfreien Sätze; die abgewiesenen Sätze sind "
            "bereits als gebucht gekennzeichnet und müssen in DATEV von Hand erfasst werden.");
    }
    return text;
}

}  // namespace

QStringList protocolLines(const Conversion& conversion, const QString& outputFile) {
    QStringList lines = conversion.unreadable;
    for (const Problem& problem : conversion.problems) {
        lines.append(problemLine(problem));
    }
    lines.append(outcome(conversion, outputFile));
    lines.append(QStringLiteral("Sätze gelesen: %1, geschrieben: %2, abgewiesen: %3")
                     .arg(conversion.read)
                     .arg(outputFile.isEmpty() ? 0 : conversion.lines.size())
                     .arg(conversion.refused));
    return lines;
}

}  // namespace pendra::tools::damo
