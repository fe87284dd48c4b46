#include "bench_tools.h"

#include <QProcess>

#include <cstdio>
#include <cstdlib>

namespace pendra::bench {

void quit(const QString& why) {
    std::fprintf(stderr, "%s\n", qPrintable(why));
    std::exit(1);
}

void runTool(const QString& program, const QStringList& args, const QByteArray& input,
             const QString& output) {
    QProcess process;
    process.setStandardOutputFile(output);
    process.start(program, args);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(600000) || process.exitCode() != 0) {
        quit(program + QStringLiteral(" failed: ") +
             QString::fromLocal8Bit(process.readAllStandardError()));
    }
}

}  // namespace pendra::bench
