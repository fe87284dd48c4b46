// The profile (INI) reader and writer (src/platform/profile.*). Invariants, from profile.h and
// docs/decisions.md "Files and code page":
// - reading any file gives a value or the default and never more than bufferSize - 1
//   characters (the value cut, not changed);
// - a write is refused, leaving the file as it was, exactly when a name cannot be held by the
//   file: a "]" in the section, an "=" in the key or a key starting with "[" (after line breaks
//   became blanks and surrounding blanks went);
// - after a write, the value reads back as written, through the same names (a line break in a
//   name matches the blank written for it): CR and LF each became a blank, characters
//   Windows-1252 lacks became "?", and the read removes surrounding blanks and one pair of
//   quotes;
// - every other key of the file keeps its value, and every other line stays byte for byte: the
//   new file is the old one (a last line without a line break given CR LF) with one line
//   replaced, one line inserted, or a section and its key appended.
//
// Input: section NUL key NUL value NUL file contents. Names are Windows-1252 bytes; the value
// is UTF-8 (invalid sequences read as U+FFFD), so it may hold characters the code page lacks.

#include "fuzz_support.h"
#include "platform/codepage.h"
#include "platform/profile.h"

#include <QList>
#include <QString>

#include <utility>
#include <vector>

using namespace pendra::platform;
using pendra::fuzz::shown;

namespace {

constexpr int kBigBuffer = 1 << 20;
constexpr qsizetype kMaxSections = 4;  // names of the file checked besides the written ones
constexpr qsizetype kMaxKeys = 8;
constexpr std::size_t kCutChecks = 4;  // reads through a short buffer
const QString kDefault = QStringLiteral("<default>");

QString lineBreaksAsBlanks(QString text) {
    return text.replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
}

// The value a read gives for a written value, by the documented rules.
QString readBackOf(const QString& written) {
    const QString stored = fromAnsi(toAnsi(lineBreaksAsBlanks(written))).trimmed();
    if (stored.size() >= 2) {
        const QChar first = stored.front();
        if ((first == QLatin1Char('"') || first == QLatin1Char('\'')) && stored.back() == first) {
            return stored.mid(1, stored.size() - 2);
        }
    }
    return stored;
}

bool sameName(const QString& a, const QString& b) {
    return lineBreaksAsBlanks(a).trimmed().compare(lineBreaksAsBlanks(b).trimmed(),
                                                   Qt::CaseInsensitive) == 0;
}

// Lines with their line ends, as the file holds them.
QList<QByteArray> linesOf(const QByteArray& contents) {
    QList<QByteArray> lines;
    qsizetype start = 0;
    while (start < contents.size()) {
        const qsizetype newline = contents.indexOf('\n', start);
        const qsizetype end = newline < 0 ? contents.size() : newline + 1;
        lines.append(contents.mid(start, end - start));
        start = end;
    }
    return lines;
}

// Names in the file a reader could ask for: the text of section headers and before "=".
void namesIn(const QByteArray& contents, QStringList* sections, QStringList* keys) {
    for (const QByteArray& line : linesOf(contents)) {
        const QString text = fromAnsi(line).trimmed();
        if (text.startsWith(QLatin1Char('['))) {
            if (sections->size() < kMaxSections) {
                sections->append(text.mid(1, text.indexOf(QLatin1Char(']')) - 1));
            }
        } else if (text.contains(QLatin1Char('=')) && keys->size() < kMaxKeys) {
            keys->append(text.left(text.indexOf(QLatin1Char('='))));
        }
    }
}

QString read(const QString& section, const QString& key, const QString& file,
             int buffer = kBigBuffer) {
    return getPrivateProfileString(section, key, kDefault, buffer, file);
}

// The new file is the old one with one line replaced, one inserted, or two appended.
bool onlyOneLineChanged(const QByteArray& before, const QByteArray& after) {
    QByteArray old = before;
    if (!old.isEmpty() && !old.endsWith('\n')) {
        old += "\r\n";
    }
    const QList<QByteArray> a = linesOf(old);
    const QList<QByteArray> b = linesOf(after);
    qsizetype prefix = 0;
    while (prefix < a.size() && prefix < b.size() && a[prefix] == b[prefix]) {
        ++prefix;
    }
    qsizetype suffix = 0;
    while (suffix < a.size() - prefix && suffix < b.size() - prefix &&
           a[a.size() - 1 - suffix] == b[b.size() - 1 - suffix]) {
        ++suffix;
    }
    const qsizetype removed = a.size() - prefix - suffix;
    const qsizetype added = b.size() - prefix - suffix;
    return (removed == 0 && added == 0) || (removed == 1 && added == 1) ||
           (removed == 0 && added == 1) || (removed == 0 && added == 2 && suffix == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QList<QByteArray> parts = pendra::fuzz::fields(data, size, 3);
    const QString section = fromAnsi(parts[0]);
    const QString key = fromAnsi(parts[1]);
    const QString value = QString::fromUtf8(parts[2]);
    const QByteArray contents = parts[3];

    const QString file = pendra::fuzz::scratchFolder() + QStringLiteral("/Pendra.ini");
    pendra::fuzz::writeFile(file, contents);

    QStringList sections{section};
    QStringList keys{key};
    namesIn(contents, &sections, &keys);
    std::vector<std::pair<std::pair<QString, QString>, QString>> before;
    for (const QString& s : sections) {
        for (const QString& k : keys) {
            const QString got = read(s, k, file);
            if (before.size() < kCutChecks) {
                // A short buffer cuts the same value.
                const int buffer = static_cast<int>(got.size() % 7);
                const QString cut = read(s, k, file, buffer);
                PENDRA_FUZZ_CHECK(
                    cut == (buffer == 0 ? QString() : got.left(buffer - 1)),
                    shown(s) + " / " + shown(k) + ": " + shown(got) + " cut to " + shown(cut));
            }
            before.push_back({{s, k}, got});
        }
    }

    const QByteArray detail = "section " + shown(section) + " key " + shown(key) + " value " +
                              shown(value) + " file " + shown(contents);
    const bool written = writePrivateProfileString(section, key, value, file);
    const QByteArray after = pendra::fuzz::readFile(file);
    const QString sectionName = lineBreaksAsBlanks(section).trimmed();
    const QString keyName = lineBreaksAsBlanks(key).trimmed();
    const bool holdable = !sectionName.contains(QLatin1Char(']')) &&
                          !keyName.contains(QLatin1Char('=')) &&
                          !keyName.startsWith(QLatin1Char('['));
    PENDRA_FUZZ_CHECK(written == holdable, (written ? "written: " : "refused: ") + detail);
    if (!written) {
        PENDRA_FUZZ_CHECK(after == contents, "a refused write changed the file: " + detail);
        return 0;
    }
    PENDRA_FUZZ_CHECK(onlyOneLineChanged(contents, after),
                      "other lines changed: " + detail + " ->\n" + shown(after));

    const QString expected = readBackOf(value);
    const QString got = read(section, key, file);
    PENDRA_FUZZ_CHECK(got == expected, "read back " + shown(got) + ", expected " + shown(expected) +
                                           ": " + detail + " ->\n" + shown(after));
    for (const auto& [name, was] : before) {
        const QString now = read(name.first, name.second, file);
        if (sameName(name.first, section) && sameName(name.second, key)) {
            PENDRA_FUZZ_CHECK(now == expected, "read back " + shown(now) + " through " +
                                                   shown(name.first) + " / " + shown(name.second) +
                                                   ": " + detail);
        } else {
            PENDRA_FUZZ_CHECK(now == was, "other key " + shown(name.first) + " / " +
                                              shown(name.second) + " changed from " + shown(was) +
                                              " to " + shown(now) + ": " + detail + " ->\n" +
                                              shown(after));
        }
    }
    return 0;
}
