#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>

namespace pendra::platform {

namespace {

QString matchInFolder(const QString& folder, const QString& name) {
    const QString exact = folder.isEmpty() ? name : joinPath(folder, name);
    if (name == QLatin1String(".") || name == QLatin1String("..") || QFileInfo::exists(exact)) {
        return exact;
    }
    const QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
    const QStringList entries = dir.entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0) {
            return folder.isEmpty() ? entry : joinPath(folder, entry);
        }
    }
    return {};
}

}  // namespace

QString joinPath(const QString& folder, const QString& name) {
    if (folder.isEmpty()) {
        return name;
    }
    if (folder.endsWith(QLatin1Char('/'))) {
        return folder + name;
    }
    return folder + QLatin1Char('/') + name;
}

QString resolvePath(const QString& path) {
    if (path.isEmpty() || QFileInfo::exists(path)) {
        return path;
    }
    const bool absolute = path.startsWith(QLatin1Char('/'));
    const QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString resolved = absolute ? QStringLiteral("/") : QString();
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString match = matchInFolder(resolved, parts[i]);
        if (match.isEmpty()) {
            QString rest = parts.mid(i).join(QLatin1Char('/'));
            if (path.endsWith(QLatin1Char('/'))) {
                rest += QLatin1Char('/');
            }
            return joinPath(resolved, rest);
        }
        resolved = match;
    }
    return resolved;
}

bool fileExists(const QString& path) {
    if (path.isEmpty()) {
        return false;
    }
    const QFileInfo info(resolvePath(path));
    return info.exists() && info.isFile();
}

}  // namespace pendra::platform
