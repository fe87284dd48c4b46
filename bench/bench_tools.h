#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace pendra::bench {

// Ends the benchmark with the reason on standard error.
[[noreturn]] void quit(const QString& why);

// Runs a program with the input on its standard input and its output into a file; a program
// that fails ends the benchmark.
void runTool(const QString& program, const QStringList& args, const QByteArray& input,
             const QString& output);

}  // namespace pendra::bench
