#include "setup/search_path.h"

#include "setup/RegistryKey.h"

#include <functional>

namespace pendra::setup {

namespace {

bool rewriteSearchPath(const std::function<QString(const QString&)>& edit) {
    RegistryKey key;
    key.SetKey(RegistryKey::Root::LocalMachine,
               QStringLiteral("System\\CurrentControlSet\\Control\\Session Manager\\Environment"));
    platform::RegType type = platform::RegType::String;
    const QString current = key.ReadString(QString(), QStringLiteral("Path"), &type);
    if (key.TakeError()) {
        return false;
    }
    const QString changed = edit(current);
    if (changed != current) {
        key.WriteString(QString(), QStringLiteral("PATH"), changed, type);
    }
    return true;
}

}  // namespace

bool appendToSearchPath(const QString& dir) {
    return rewriteSearchPath([&](const QString& current) {
        QString path = current;
        while (path.endsWith(QLatin1Char(';'))) {
            path.chop(1);
        }
        return path + QLatin1Char(';') + dir + QLatin1Char(';');
    });
}

bool removeFromSearchPath(const QString& dir) {
    return rewriteSearchPath([&](const QString& current) {
        const qsizetype at = current.indexOf(dir);
        if (dir.isEmpty() || at < 1) {
            return current;
        }
        return QString(current).remove(at, dir.size() + 1);
    });
}

}  // namespace pendra::setup
