#pragma once

#include <QStringList>

#include <iosfwd>

namespace pendra::transfer::cli {

enum ExitCode { Completed = 0, Failed = 1, Usage = 2, Stopped = 3 };

struct Console {
    std::ostream& out;
    std::ostream& err;
    std::istream& in;
    bool inputIsTerminal;
    bool errorIsTerminal;  // progress is shown only on a terminal
};

// Runs `pendra_transfer --batch buchungen|stammdaten|kontenbeschriftungen [--yes]` or
// `--help` (arguments without the program name) and returns the exit code.
int run(const QStringList& arguments, const Console& console);

}  // namespace pendra::transfer::cli
