#include "platform/process_list.h"

#include <QFile>

#include <dirent.h>
#include <memory>

namespace pendra::platform {

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

bool isProcessId(const char* name) {
    if (*name == '\0') {
        return false;
    }
    for (const char* c = name; *c != '\0'; ++c) {
        if (*c < '0' || *c > '9') {
            return false;
        }
    }
    return true;
}

// Empty for a process without a command line: a kernel thread or one that has ended.
QString programName(const char* id) {
    QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(QLatin1String(id)));
    if (!cmdline.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray words = cmdline.read(4096);
    const QByteArray program = words.left(words.indexOf('\0'));
    return QFile::decodeName(program.mid(program.lastIndexOf('/') + 1));
}

}  // namespace

std::vector<RunningProcess> runningProcesses(std::size_t limit) {
    std::vector<RunningProcess> processes;
    const std::unique_ptr<DIR, DirCloser> proc(::opendir("/proc"));
    if (!proc) {
        return processes;
    }
    while (processes.size() < limit) {
        const dirent* entry = ::readdir(proc.get());
        if (entry == nullptr) {
            break;
        }
        if (!isProcessId(entry->d_name)) {
            continue;
        }
        QString name = programName(entry->d_name);
        if (!name.isEmpty()) {
            processes.push_back({QByteArray(entry->d_name).toLongLong(), std::move(name)});
        }
    }
    return processes;
}

}  // namespace pendra::platform
