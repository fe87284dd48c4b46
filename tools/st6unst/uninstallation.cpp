#include "tools/st6unst/uninstallation.h"

#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/unique_fd.h"
#include "tools/install_log/InstallLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <climits>

namespace pendra::tools {

namespace {

// The folder that holds `path`, opened level by level from "/" without following a link:
// a path that leads through a link yields an invalid descriptor.
platform::UniqueFd openParent(const QStringList& levels) {
    platform::UniqueFd folder(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
    for (qsizetype i = 0; i + 1 < levels.size() && folder.isValid(); ++i) {
        folder = platform::UniqueFd(::openat(folder.get(), QFile::encodeName(levels[i]).constData(),
                                             O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    }
    return folder;
}

enum class Removal { File, EmptyFolder };

void removeEntry(const QString& path, Removal removal) {
    const QString clean = QDir::cleanPath(path);
    const QStringList levels = clean.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (!clean.startsWith(QLatin1Char('/')) || levels.isEmpty()) {
        return;
    }
    const platform::UniqueFd parent = openParent(levels);
    const QByteArray name = QFile::encodeName(levels.last());
    struct stat status {};
    if (!parent.isValid() ||
        ::fstatat(parent.get(), name.constData(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
        return;
    }
    const bool isFolder = S_ISDIR(status.st_mode);
    if (isFolder == (removal == Removal::EmptyFolder)) {
        // A folder that still holds something stays, as it should.
        ::unlinkat(parent.get(), name.constData(), isFolder ? AT_REMOVEDIR : 0);
    }
}

void resetSetting(const LogEntry& setting) {
    const QString file = platform::resolvePath(setting.path);
    if (platform::getPrivateProfileString(setting.section, setting.key, {}, PATH_MAX, file) ==
        setting.value) {
        platform::writePrivateProfileString(setting.section, setting.key, {}, file);
    }
}

qsizetype depth(const LogEntry& entry) {
    return QDir::cleanPath(entry.path).count(QLatin1Char('/'));
}

}  // namespace

void uninstall(const QString& logFile) {
    const QString log = QFileInfo(platform::resolvePath(logFile)).absoluteFilePath();
    std::vector<LogEntry> entries = readInstallLog(log);
    for (const LogEntry& entry : entries) {
        if (entry.kind == LogEntry::Kind::Setting) {
            resetSetting(entry);
        }
    }
    for (const LogEntry& entry : entries) {
        if (entry.kind == LogEntry::Kind::File) {
            removeEntry(entry.path, Removal::File);
        }
    }
    removeEntry(log, Removal::File);
    std::stable_sort(entries.begin(), entries.end(),
                     [](const LogEntry& a, const LogEntry& b) { return depth(a) > depth(b); });
    for (const LogEntry& entry : entries) {
        if (entry.kind == LogEntry::Kind::Folder) {
            removeEntry(entry.path, Removal::EmptyFolder);
        }
    }
}

}  // namespace pendra::tools
