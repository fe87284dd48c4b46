#include "platform/profile.h"

#include "platform/codepage.h"
#include "platform/file_lock.h"
#include "platform/paths.h"
#include "platform/system_folders.h"

#include <QFile>
#include <QFileInfo>

#include <optional>
#include <vector>

namespace pendra::platform {

namespace {

struct Line {
    QByteArray text;
    QByteArray end;  // "\r\n", "\n" or empty for a last line without a line break
};

std::vector<Line> splitLines(const QByteArray& contents) {
    std::vector<Line> lines;
    qsizetype start = 0;
    while (start < contents.size()) {
        const qsizetype newline = contents.indexOf('\n', start);
        if (newline < 0) {
            lines.push_back({contents.mid(start), {}});
            break;
        }
        const bool crlf = newline > start && contents.at(newline - 1) == '\r';
        const qsizetype textEnd = crlf ? newline - 1 : newline;
        lines.push_back({contents.mid(start, textEnd - start), crlf ? "\r\n" : "\n"});
        start = newline + 1;
    }
    return lines;
}

std::optional<QString> sectionName(const QByteArray& line) {
    const QString text = fromAnsi(line).trimmed();
    if (!text.startsWith(QLatin1Char('['))) {
        return std::nullopt;
    }
    const qsizetype close = text.indexOf(QLatin1Char(']'));
    return text.mid(1, close < 0 ? -1 : close - 1).trimmed();
}

struct KeyLine {
    QString key;
    QString value;
};

std::optional<KeyLine> keyLine(const QByteArray& line) {
    const QString text = fromAnsi(line);
    const qsizetype equals = text.indexOf(QLatin1Char('='));
    if (equals < 0) {
        return std::nullopt;
    }
    return KeyLine{text.left(equals).trimmed(), text.mid(equals + 1)};
}

QString lineBreaksAsBlanks(QString text) {
    return text.replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
}

// A line break in a name matches the blank a write puts in its place.
bool sameName(const QString& a, const QString& b) {
    return lineBreaksAsBlanks(a).trimmed().compare(lineBreaksAsBlanks(b).trimmed(),
                                                   Qt::CaseInsensitive) == 0;
}

// Index range [begin, end) of the lines after the first header of `section`.
struct SectionRange {
    std::size_t header;
    std::size_t end;
};

std::optional<SectionRange> findSection(const std::vector<Line>& lines, const QString& section) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto name = sectionName(lines[i].text);
        if (name && sameName(*name, section)) {
            std::size_t end = i + 1;
            while (end < lines.size() && !sectionName(lines[end].text)) {
                ++end;
            }
            return SectionRange{i, end};
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> findKey(const std::vector<Line>& lines, const SectionRange& range,
                                   const QString& key) {
    for (std::size_t i = range.header + 1; i < range.end; ++i) {
        const auto entry = keyLine(lines[i].text);
        if (entry && sameName(entry->key, key)) {
            return i;
        }
    }
    return std::nullopt;
}

QString unquoted(const QString& raw) {
    const QString value = raw.trimmed();
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == QLatin1Char('"') || first == QLatin1Char('\'')) && value.back() == first) {
            return value.mid(1, value.size() - 2);
        }
    }
    return value;
}

QString bounded(const QString& text, int bufferSize) {
    return bufferSize <= 0 ? QString() : text.left(bufferSize - 1);
}

// A line break inside a name or value would split it into lines of its own.
QByteArray singleLine(const QString& text) {
    return toAnsi(lineBreaksAsBlanks(text));
}

QByteArray joinLines(const std::vector<Line>& lines) {
    QByteArray contents;
    for (const Line& line : lines) {
        contents += line.text;
        contents += line.end;
    }
    return contents;
}

// A profile named without a folder lives in the Windows folder, as the profile functions
// the files were written for look for it there.
QString profilePath(const QString& fileName) {
    if (fileName.contains(QLatin1Char('/'))) {
        return resolvePath(fileName);
    }
    constexpr int kPathLimit = 4096;
    const QString windows = getWindowsDirectory(kPathLimit);
    // Without a Windows folder there is no such file: reads give the default, writes fail.
    return windows.isEmpty() ? QString() : resolvePath(joinPath(windows, fileName));
}

}  // namespace

QString getPrivateProfileString(const QString& section, const QString& key,
                                const QString& defaultValue, int bufferSize,
                                const QString& fileName) {
    QString fallback = defaultValue;
    while (fallback.endsWith(QLatin1Char(' '))) {
        fallback.chop(1);
    }
    QFile file(profilePath(fileName));
    if (!file.open(QIODevice::ReadOnly)) {
        return bounded(fallback, bufferSize);
    }
    const std::vector<Line> lines = splitLines(file.readAll());
    const auto range = findSection(lines, section);
    if (!range) {
        return bounded(fallback, bufferSize);
    }
    const auto index = findKey(lines, *range, key);
    if (!index) {
        return bounded(fallback, bufferSize);
    }
    return bounded(unquoted(keyLine(lines[*index].text)->value), bufferSize);
}

namespace {

// Sets the key in the lines: replaces its value in place, adds it behind the last non-blank
// line of its section, or appends the section with the key at the end.
void setKey(std::vector<Line>& lines, const QString& section, const QString& key,
            const QString& value) {
    const QByteArray newValue = singleLine(value);
    const auto range = findSection(lines, section);
    if (!range) {
        lines.push_back({"[" + singleLine(section.trimmed()) + "]", "\r\n"});
        lines.push_back({singleLine(key.trimmed()) + "=" + newValue, "\r\n"});
        return;
    }
    if (const auto index = findKey(lines, *range, key)) {
        const QByteArray written = lines[*index].text;
        lines[*index].text = written.left(written.indexOf('=') + 1) + newValue;
        return;
    }
    std::size_t insertAt = range->header + 1;
    for (std::size_t i = range->header + 1; i < range->end; ++i) {
        if (!lines[i].text.trimmed().isEmpty()) {
            insertAt = i + 1;
        }
    }
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt),
                 Line{singleLine(key.trimmed()) + "=" + newValue, "\r\n"});
}

// Whether the names can be written so that a read finds them again: a "]" would end the
// section name early, an "=" the key, and a key starting with "[" would read as a section.
bool fitsTheFile(const QString& section, const QString& key) {
    const QString sectionName = lineBreaksAsBlanks(section).trimmed();
    const QString keyName = lineBreaksAsBlanks(key).trimmed();
    return !sectionName.contains(QLatin1Char(']')) && !keyName.contains(QLatin1Char('=')) &&
           !keyName.startsWith(QLatin1Char('['));
}

}  // namespace

bool writePrivateProfileString(const QString& section, const QString& key, const QString& value,
                               const QString& fileName) {
    if (!fitsTheFile(section, key)) {
        return false;
    }
    const QString path = profilePath(fileName);
    if (path.isEmpty()) {
        return false;
    }
    const FolderLock lock(QFileInfo(path).absolutePath());
    if (!lock.isLocked()) {
        return false;  // without the lock a second writer's change could be lost
    }
    QByteArray contents;
    QFile existing(path);
    if (existing.exists()) {
        if (!existing.open(QIODevice::ReadOnly)) {
            return false;
        }
        contents = existing.readAll();
        existing.close();
    }
    std::vector<Line> lines = splitLines(contents);
    if (!lines.empty() && lines.back().end.isEmpty()) {
        lines.back().end = "\r\n";
    }
    setKey(lines, section, key, value);
    return replaceFile(path, joinLines(lines));
}

}  // namespace pendra::platform
