#pragma once

#include <QString>

#include <span>

namespace pendra::setup {

// One running process. Windows have no owner process here, so window and title stay empty.
struct TaskEntry {
    qint64 processId = 0;
    quint32 flags = 0;
    quintptr window = 0;
    QString processName;
    QString windowTitle;
};

// Fills the table with the running processes in the order the system lists them and returns
// the number of entries filled.
int GetTaskList(std::span<TaskEntry> table);

// The id of a running process whose program has this file name, letter case aside; with
// several, the one listed first. -1 when there is none. Each call lists the processes once
// and returns: callers that wait for a process pause between calls.
qint64 FindProcessByName(const QString& name);

}  // namespace pendra::setup
