#pragma once

#include <QStringList>

#include <iosfwd>

namespace pendra::setup::cli {

enum ExitCode { Completed = 0, Failed = 1, Usage = 2, Stopped = 3 };

struct Console {
    std::ostream& out;
    std::ostream& err;
};

// Runs `setup --unattended complete|custom|uninstall [--components …] [--dir FOLDER]` or
// `setup --help` (arguments without the program name) and returns the exit code.
int run(const QStringList& arguments, const Console& console);

}  // namespace pendra::setup::cli
