#include "tools/damo32/conversion.h"

#include "platform/codepage.h"

namespace pendra::tools::damo {

namespace {

QList<QByteArray> inputLines(const QByteArray& input) {
    QList<QByteArray> lines = input.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) {
        lines.removeLast();  // after the last line break
    }
    for (QByteArray& line : lines) {
        if (line.endsWith('\r')) {
            line.chop(1);
        }
    }
    return lines;
}

}  // namespace

Conversion convertRecords(const Category& category, const QByteArray& input,
                          const RunSettings& settings) {
    Conversion result;
    result.problems = headerProblems(category, settings);
    const bool headerOk = result.problems.isEmpty();
    const QList<QByteArray> lines = inputLines(input);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = platform::fromAnsi(lines[i]);
        const RecordCheck record = category.record(line, static_cast<int>(i + 1), settings);
        if (!record.readable()) {
            result.unreadable.append(
                QStringLiteral("Zeile %1 nicht lesbar: %2").arg(i + 1).arg(line));
            continue;
        }
        ++result.read;
        if (record.accepted() && headerOk) {
            result.lines.append(record.line());
        } else {
            ++result.refused;
            result.problems.append(record.problems());
        }
    }
    return result;
}

QByteArray datevFile(const Category& category, const RunSettings& settings,
                     const QDateTime& createdAt, const QStringList& lines) {
    const QStringList all =
        QStringList{headerLine(category, settings, createdAt), category.columns.join(u';')} + lines;
    return platform::toAnsi(all.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

}  // namespace pendra::tools::damo
