#include "setup/shortcut.h"

#include "platform/paths.h"
#include "setup/RegistryKey.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryFile>

#include <algorithm>
#include <cstdio>

namespace pendra::setup {

namespace {

// The escapes of a Desktop Entry value of type string.
QString escapedValue(const QString& value) {
    QString escaped;
    for (const QChar c : value) {
        switch (c.unicode()) {
            case '\\':
                escaped += QLatin1String("\\\\");
                break;
            case '\n':
                escaped += QLatin1String("\\n");
                break;
            case '\t':
                escaped += QLatin1String("\\t");
                break;
            case '\r':
                escaped += QLatin1String("\\r");
                break;
            default:
                escaped += c;
        }
    }
    if (escaped.startsWith(QLatin1Char(' '))) {
        escaped.replace(0, 1, QLatin1String("\\s"));
    }
    return escaped;
}

// One word of an Exec line: quoted when it holds a reserved character, "%" doubled so that it
// is no field code.
QString execWord(const QString& word) {
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    const bool quote = word.isEmpty() || std::any_of(word.begin(), word.end(),
                                                     [](QChar c) { return reserved.contains(c); });
    QString text;
    for (const QChar c : word) {
        if (quote && QStringLiteral("\"`$\\").contains(c)) {
            text += QLatin1Char('\\');
        }
        text += c == QLatin1Char('%') ? QStringLiteral("%%") : QString(c);
    }
    return quote ? QLatin1Char('"') + text + QLatin1Char('"') : text;
}

QString entryPath(const QString& shortcutPath) {
    const QString link = QStringLiteral(".lnk");
    const QString base = shortcutPath.endsWith(link, Qt::CaseInsensitive)
                             ? shortcutPath.chopped(link.size())
                             : shortcutPath;
    return platform::resolvePath(base + QStringLiteral(".desktop"));
}

QByteArray desktopEntry(const QString& targetPath, const QString& description,
                        const QString& arguments, const QString& workingDirectory,
                        const QString& iconFile) {
    QStringList exec = {execWord(targetPath)};
    for (const QString& word : QProcess::splitCommand(arguments)) {
        exec.append(execWord(word));
    }
    QString entry = QStringLiteral("[Desktop Entry]\nType=Application\n");
    entry += QStringLiteral("Name=%1\n").arg(escapedValue(description));
    entry += QStringLiteral("Exec=%1\n").arg(escapedValue(exec.join(QLatin1Char(' '))));
    if (!workingDirectory.isEmpty()) {
        entry += QStringLiteral("Path=%1\n").arg(escapedValue(workingDirectory));
    }
    if (!iconFile.isEmpty()) {
        entry += QStringLiteral("Icon=%1\n").arg(escapedValue(iconFile));
    }
    return entry.toUtf8();
}

}  // namespace

// The icon index has no counterpart in a Desktop Entry, which names its icon file alone.
int CreateShortcut(const QString& targetPath, const QString& shortcutPath,
                   const QString& description, const QString& arguments,
                   const QString& workingDirectory, const QString& iconFile, int /*iconIndex*/) {
    const QString path = entryPath(shortcutPath);
    // A new file renamed into place: an entry or a link found there is replaced, never
    // written through.
    QTemporaryFile file(QFileInfo(path).absolutePath() + QStringLiteral("/.pendra-XXXXXX"));
    const QByteArray entry =
        desktopEntry(targetPath, description, arguments, workingDirectory, iconFile);
    if (!file.open() || file.write(entry) != entry.size() || !file.flush()) {
        return 0;
    }
    // Desktops start only entries that are executable.
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                        QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther |
                        QFileDevice::ExeOther);
    if (std::rename(QFile::encodeName(file.fileName()).constData(),
                    QFile::encodeName(path).constData()) != 0) {
        return 0;
    }
    file.setAutoRemove(false);
    return 1;
}

int DeleteShortcut(const QString& shortcutPath) {
    return QFile::remove(entryPath(shortcutPath)) ? 1 : 0;
}

QString GetCommonFolder(const QString& name) {
    RegistryKey key;
    key.SetKey(RegistryKey::Root::LocalMachine,
               QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell "
                              "Folders"));
    QString folder = key.ReadString(QString(), name);
    if (key.TakeError()) {
        return {};
    }
    while (folder.endsWith(QLatin1Char('/'))) {
        folder.chop(1);
    }
    return folder;
}

}  // namespace pendra::setup
