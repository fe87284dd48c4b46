#include "setup/process_lookup.h"

#include "platform/process_list.h"

#include <vector>

namespace pendra::setup {

namespace {

constexpr std::size_t kTaskTableSize = 256;

}  // namespace

int GetTaskList(std::span<TaskEntry> table) {
    const auto processes = platform::runningProcesses(table.size());
    for (std::size_t i = 0; i < processes.size(); ++i) {
        table[i] = {processes[i].id, 0, 0, processes[i].programName, QString()};
    }
    return static_cast<int>(processes.size());
}

qint64 FindProcessByName(const QString& name) {
    // A table per call, so that lookups from two threads never share one.
    std::vector<TaskEntry> table(kTaskTableSize);
    const int count = GetTaskList(table);
    for (int i = 0; i < count; ++i) {
        if (table[i].processName.compare(name, Qt::CaseInsensitive) == 0) {
            return table[i].processId;
        }
    }
    return -1;
}

}  // namespace pendra::setup
