#pragma once

#include <QString>

#include <cstddef>
#include <vector>

namespace pendra::platform {

struct RunningProcess {
    qint64 id = 0;
    // The file name of the program the process runs: the first word of its command line,
    // without folder.
    QString programName;
};

// The processes of the machine in the order the system lists them, at most `limit`. Kernel
// threads and ended processes not yet reaped run no program and are left out.
std::vector<RunningProcess> runningProcesses(std::size_t limit);

}  // namespace pendra::platform
