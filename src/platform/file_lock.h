#pragma once

#include <QString>

namespace pendra::platform {

// An advisory exclusive lock on a folder, held for the object's lifetime. Writers of the
// suite's shared files take it around their read-modify-write, so that two programs writing
// the same file never lose each other's change. Readers need no lock: files are replaced by
// rename, so a reader sees either the old or the new file.
class FolderLock {
public:
    explicit FolderLock(const QString& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    bool isLocked() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

// Replaces the file's contents atomically: a sibling temporary file is written, synced and
// renamed over the file. On failure the old file is untouched and `error` names the cause.
bool replaceFile(const QString& path, const QByteArray& contents, QString* error = nullptr);

}  // namespace pendra::platform
