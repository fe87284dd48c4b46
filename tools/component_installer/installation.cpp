#include "tools/component_installer/installation.h"

#include "common/failure.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/system_folders.h"
#include "tools/component_installer/cabinet.h"
#include "tools/install_log/InstallLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <climits>
#include <cstdio>

namespace pendra::tools {

namespace {

constexpr int kValueSize = PATH_MAX;

QString setupValue(const QString& key, const QString& setupList) {
    return platform::getPrivateProfileString(QStringLiteral("Setup"), key, {}, kValueSize,
                                             setupList);
}

QString windowsFolder() {
    const QString folder = platform::getWindowsDirectory(kValueSize);
    if (folder.isEmpty() || !QDir().mkpath(folder)) {
        throw Failure(QStringLiteral("Der Windows-Ordner des Systems ist nicht verfügbar."));
    }
    return folder;
}

// Creates the levels of `relative` below `base` and returns those it created, outermost
// first. Below the installation folder every level must be a real folder, so that nothing
// lands behind a link; the installation folder's own path is the administrator's choice.
QStringList createFolders(const QString& base, const QString& relative, bool linksAllowed) {
    QStringList created;
    QString current = base;
    for (const QString& level : relative.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        current = platform::resolvePath(platform::joinPath(current, level));
        if (!QFileInfo::exists(current) && QDir().mkdir(current)) {
            created.append(current);
            continue;
        }
        // Looked at afresh: the setup may have created the level meanwhile.
        const QFileInfo info(current);
        if (!info.isDir() || (info.isSymLink() && !linksAllowed)) {
            throw Failure(QStringLiteral("Der Ordner %1 kann nicht angelegt werden.").arg(current));
        }
    }
    return created;
}

void recordFolders(const QStringList& folders, InstallLog& log) {
    for (const QString& folder : folders) {
        log.record({LogEntry::Kind::Folder, folder, {}, {}, {}});
    }
}

// Writes a new file beside the target and renames it over the target, which replaces a link
// found there instead of writing through it. Programs (".exe") become executable.
void placeFile(const QString& unpacked, const QString& target) {
    QFile source(unpacked);
    QTemporaryFile copy(target + QStringLiteral(".XXXXXX"));
    const bool program = target.endsWith(QStringLiteral(".exe"), Qt::CaseInsensitive);
    const QFile::Permissions permissions =
        QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther |
        (program ? QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther : QFile::Permissions());
    if (!source.open(QIODevice::ReadOnly) || !copy.open() ||
        copy.write(source.readAll()) != source.size() || !copy.flush() ||
        !copy.setPermissions(permissions) ||
        std::rename(QFile::encodeName(copy.fileName()).constData(),
                    QFile::encodeName(target).constData()) != 0) {
        throw Failure(QStringLiteral("Die Datei %1 kann nicht installiert werden.").arg(target));
    }
    copy.setAutoRemove(false);
}

bool isSafeName(const QString& name) {
    const QStringList levels = name.split(QLatin1Char('/'));
    return !name.startsWith(QLatin1Char('/')) && !levels.contains(QString()) &&
           !levels.contains(QStringLiteral(".")) && !levels.contains(QStringLiteral(".."));
}

void installFile(const CabinetFile& file, const QString& installDir, InstallLog& log) {
    if (!isSafeName(file.name)) {
        throw Failure(
            QStringLiteral("Die Archivdatei enthält den ungültigen Namen %1.").arg(file.name));
    }
    const QString folder = QFileInfo(file.name).path();
    const QStringList created =
        folder == QStringLiteral(".") ? QStringList() : createFolders(installDir, folder, false);
    recordFolders(created, log);
    const QString target = platform::resolvePath(platform::joinPath(installDir, file.name));
    placeFile(file.unpackedAs, target);
    log.record({LogEntry::Kind::File, target, {}, {}, {}});
}

struct WindowsSetting {
    QString section;
    QString key;
    QString folder;  // below the installation folder; empty: the installation folder itself
};

// The keys of the Windows folder's Pendra.ini that the transfer program reads.
void writeWindowsSettings(const QString& installDir, InstallLog& log) {
    const QString file = platform::resolvePath(windowsFolder() + QStringLiteral("/Pendra.ini"));
    const bool existed = QFileInfo::exists(file);
    const WindowsSetting settings[] = {
        {QStringLiteral("Pendra_Path"), QStringLiteral("Pendra"), {}},
        {QStringLiteral("tmp_Path"), QStringLiteral("tmp"), QStringLiteral("tmp")},
        {QStringLiteral("DATEV"), QStringLiteral("datev"), QStringLiteral("Datev/DATEV")},
    };
    for (const WindowsSetting& setting : settings) {
        if (!platform::getPrivateProfileString(setting.section, setting.key, {}, kValueSize, file)
                 .isEmpty()) {
            continue;
        }
        // The application path ends in "/", as the setup writes it.
        const QString value = setting.folder.isEmpty()
                                  ? installDir + QLatin1Char('/')
                                  : installDir + QLatin1Char('/') + setting.folder;
        recordFolders(createFolders(installDir, setting.folder, false), log);
        if (!platform::writePrivateProfileString(setting.section, setting.key, value, file)) {
            throw Failure(QStringLiteral("Die Datei %1 kann nicht geschrieben werden.").arg(file));
        }
        log.record({LogEntry::Kind::Setting, file, setting.section, setting.key, value});
    }
    if (!existed && QFileInfo::exists(file)) {
        log.record({LogEntry::Kind::File, file, {}, {}, {}});
    }
}

}  // namespace

InstallerSetup readSetupList(const QString& installerFolder) {
    const QString list =
        platform::resolvePath(platform::joinPath(installerFolder, QStringLiteral("Setup.lst")));
    if (!platform::fileExists(list)) {
        throw Failure(QStringLiteral("Die Datei %1 fehlt.").arg(list));
    }
    InstallerSetup setup;
    setup.defaultDir = QDir::cleanPath(setupValue(QStringLiteral("DefaultDir"), list));
    const QString stem = setupValue(QStringLiteral("Cabinet"), list);
    if (!setup.defaultDir.startsWith(QLatin1Char('/')) || stem.isEmpty()) {
        throw Failure(
            QStringLiteral("In %1 fehlen der Installationsordner (DefaultDir) oder das Archiv.")
                .arg(list));
    }
    setup.cabinet =
        platform::resolvePath(platform::joinPath(installerFolder, stem + QStringLiteral(".CAB")));
    setup.uninstaller = setupValue(QStringLiteral("Uninstaller"), list);
    setup.windowsPendraIni = setupValue(QStringLiteral("WindowsPendraIni"), list)
                                 .compare(QStringLiteral("Ja"), Qt::CaseInsensitive) == 0;
    return setup;
}

QString install(const InstallerSetup& setup) {
    const QStringList created = createFolders(QStringLiteral("/"), setup.defaultDir, true);
    InstallLog log(setup.defaultDir);
    recordFolders(created, log);
    const QTemporaryDir unpacked;
    if (!unpacked.isValid()) {
        throw Failure(QStringLiteral("Kein Platz für die entpackten Dateien."));
    }
    for (const CabinetFile& file : unpackCabinet(setup.cabinet, unpacked.path())) {
        if (file.name.compare(setup.uninstaller, Qt::CaseInsensitive) == 0) {
            placeFile(file.unpackedAs, installedUninstaller(setup));
        } else {
            installFile(file, setup.defaultDir, log);
        }
    }
    if (setup.windowsPendraIni) {
        writeWindowsSettings(setup.defaultDir, log);
    }
    return log.path();
}

QString installedUninstaller(const InstallerSetup& setup) {
    return platform::resolvePath(platform::joinPath(windowsFolder(), setup.uninstaller));
}

}  // namespace pendra::tools
