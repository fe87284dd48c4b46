#pragma once

#include "platform/unique_fd.h"

#include <QString>

#include <vector>

namespace pendra::tools {

// One line of an installer's log: what the installer created, so that the uninstaller can
// take it away again.
struct LogEntry {
    enum class Kind { File, Folder, Setting };

    Kind kind = Kind::File;
    QString path;  // the file or folder; for a setting the profile file
    QString section;
    QString key;
    QString value;  // the value the installer wrote
};

// The log an installer writes into the installation folder, one entry a line (UTF-8, fields
// separated by tabs). Each entry is on disk before the installer goes on, so a failed
// installation can still be taken away.
class InstallLog {
public:
    // Opens the first of "St6unst.log", "St6unst.000", "St6unst.001" in `folder` that does not
    // exist yet; when all three exist, the last one is continued. Throws Failure.
    explicit InstallLog(const QString& folder);

    const QString& path() const { return path_; }

    // Throws Failure when the line cannot be written or a field holds a tab or line break.
    void record(const LogEntry& entry);

private:
    QString path_;
    platform::UniqueFd fd_;
};

// The entries of a log; lines that are no entry are skipped. Throws Failure when the file
// cannot be read.
std::vector<LogEntry> readInstallLog(const QString& path);

}  // namespace pendra::tools
