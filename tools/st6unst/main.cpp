// Stand-in for the installer toolkit's uninstaller "St6unst.exe", installed into the Windows
// folder by the component installers.
//
//   St6unst.exe -n LOG [-f] [-q]   takes away what the installer logged in LOG
//   St6unst.exe wait               waits two seconds: the process an installer hands over to
//
// -f and -q (no questions, no window) are how it is always called; this stand-in asks
// nothing anyway. Exit code 0 when done, 1 when LOG cannot be read, 2 for wrong arguments;
// messages go to stderr.

#include "common/failure.h"
#include "tools/st6unst/uninstallation.h"

#include <QCoreApplication>
#include <QStringList>
#include <QThread>

#include <cstdio>
#include <optional>

namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;
constexpr unsigned long kHandOverMs = 2000;

// The log named after -n; empty when the arguments are not understood.
std::optional<QString> logArgument(const QStringList& args) {
    std::optional<QString> log;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString flag = args[i].toLower();
        if (flag == QLatin1String("-n") && i + 1 < args.size()) {
            log = args[++i];
        } else if (flag != QLatin1String("-f") && flag != QLatin1String("-q")) {
            return std::nullopt;
        }
    }
    return log;
}

void print(const QString& text) {
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

}  // namespace

int main(int argc, char* argv[]) {
    const QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args == QStringList{QStringLiteral("wait")}) {
        QThread::msleep(kHandOverMs);
        return kDone;
    }
    const std::optional<QString> log = logArgument(args);
    if (!log) {
        print(QStringLiteral("Aufruf: St6unst.exe -n PROTOKOLLDATEI -f -q"));
        return kUsage;
    }
    try {
        pendra::tools::uninstall(*log);
        return kDone;
    } catch (const pendra::Failure& failure) {
        print(QStringLiteral("Deinstallation nicht möglich: ") + failure.message());
        return kFailed;
    }
}
