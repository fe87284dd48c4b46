#include "platform/system_folders.h"

#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <unistd.h>
#include <array>
#include <climits>

namespace pendra::platform {

namespace {

QString fitting(const QString& folder, int bufferSize) {
    return folder.size() < bufferSize ? folder : QString();
}

}  // namespace

QString systemRoot() {
    if (qEnvironmentVariableIsSet("PENDRA_SYSTEM_ROOT")) {
        return qEnvironmentVariable("PENDRA_SYSTEM_ROOT");
    }
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return dataHome.isEmpty() ? QString() : joinPath(dataHome, QStringLiteral("pendra/system"));
}

QString getWindowsDirectory(int bufferSize) {
    const QString root = systemRoot();
    if (root.isEmpty()) {
        return {};
    }
    return fitting(resolvePath(joinPath(root, QStringLiteral("Windows"))), bufferSize);
}

QString getCurrentDirectory(int bufferSize) {
    std::array<char, PATH_MAX> buffer{};
    if (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        return {};
    }
    return fitting(QFile::decodeName(buffer.data()), bufferSize);
}

QString getTempPath(int bufferSize) {
    return fitting(QDir::tempPath(), bufferSize);
}

}  // namespace pendra::platform
