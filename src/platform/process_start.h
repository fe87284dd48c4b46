#pragma once

#include <QString>
#include <QStringList>

namespace pendra::platform {

// The program a name stands for. A name with a folder is resolved as it is; a bare name is
// looked for, letter case aside, in the folder of the running program, the working folder,
// the Windows folder of the system root and then the folders of PATH. Empty when no
// executable file of that name is found.
QString findProgram(const QString& name);

// Starts the program with its arguments as they are (no shell splits them) and does not wait
// for it; its output goes nowhere. On success `processId`, when given, receives its id.
bool startDetached(const QString& program, const QStringList& arguments,
                   qint64* processId = nullptr);

}  // namespace pendra::platform
