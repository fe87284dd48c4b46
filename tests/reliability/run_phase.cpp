#include "reliability/run_phase.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <unistd.h>

#include <algorithm>
#include <array>

namespace pendra::test {

namespace {

QString procPath(long long pid, const QString& rest) {
    return QStringLiteral("/proc/%1/%2").arg(pid).arg(rest);
}

QByteArray readProc(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed() : QByteArray();
}

bool runsDatevProgram(long long pid) {
    const QDir tasks(procPath(pid, QStringLiteral("task")));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QByteArray children = readProc(tasks.filePath(task + QStringLiteral("/children")));
        for (const QByteArray& child : children.split(' ')) {
            const QByteArray name = readProc(QStringLiteral("/proc/%1/comm").arg(child));
            if (name == "damo32.exe" || name == "put_self32.exe") {
                return true;
            }
        }
    }
    return false;
}

QStringList openFiles(long long pid) {
    const QDir fds(procPath(pid, QStringLiteral("fd")));
    QStringList files;
    for (const QString& fd :
         fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        std::array<char, 4096> target{};
        const ssize_t size = ::readlink(QFile::encodeName(fds.filePath(fd)).constData(),
                                        target.data(), target.size() - 1);
        if (size > 0) {
            files.append(QFile::decodeName(QByteArray(target.data(), size)));
        }
    }
    return files;
}

}  // namespace

const char* phaseName(RunPhase phase) {
    switch (phase) {
        case RunPhase::StartUp:
            return "Programmstart";
        case RunPhase::Database:
            return "Verbindung/Abfragen";
        case RunPhase::Export:
            return "Ausspielen";
        case RunPhase::Marking:
            return "Kennzeichnen";
        case RunPhase::HandOver:
            return "Uebergabe";
    }
    return "?";
}

ProcessView processView(long long pid) {
    const QStringList files = openFiles(pid);
    const auto holds = [&](auto test) { return std::any_of(files.begin(), files.end(), test); };
    return {runsDatevProgram(pid),
            holds([](const QString& file) { return file.endsWith(u".sqlite"); }),
            holds([](const QString& file) {
                return file.contains(u"/FIBU-BW.") && file.endsWith(u".txt");
            })};
}

}  // namespace pendra::test
