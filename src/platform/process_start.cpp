#include "platform/process_start.h"

#include "platform/paths.h"
#include "platform/system_folders.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <climits>

namespace pendra::platform {

namespace {

QString executableIn(const QString& folder, const QString& name) {
    if (folder.isEmpty()) {
        return {};
    }
    const QFileInfo candidate(resolvePath(joinPath(folder, name)));
    return candidate.isFile() && candidate.isExecutable() ? candidate.filePath() : QString();
}

QStringList searchFolders() {
    QStringList folders = {
        QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget()).absolutePath(),
        QDir::currentPath(), getWindowsDirectory(PATH_MAX)};
    folders += qEnvironmentVariable("PATH").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    return folders;
}

}  // namespace

QString findProgram(const QString& name) {
    if (name.isEmpty()) {
        return {};
    }
    if (name.contains(QLatin1Char('/'))) {
        const QFileInfo program(resolvePath(name));
        return program.isFile() && program.isExecutable() ? program.filePath() : QString();
    }
    for (const QString& folder : searchFolders()) {
        const QString found = executableIn(folder, name);
        if (!found.isEmpty()) {
            return found;
        }
    }
    return {};
}

bool startDetached(const QString& program, const QStringList& arguments, qint64* processId) {
    const QString path = findProgram(program);
    if (path.isEmpty()) {
        return false;
    }
    QProcess process;
    process.setProgram(path);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    return process.startDetached(processId);
}

}  // namespace pendra::platform
