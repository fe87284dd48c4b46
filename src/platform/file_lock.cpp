#include "platform/file_lock.h"
#include "platform/system_error_text.h"

#include <QFile>
#include <QSaveFile>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <cerrno>

namespace pendra::platform {

FolderLock::FolderLock(const QString& folder) {
    const QByteArray native = QFile::encodeName(folder.isEmpty() ? QStringLiteral(".") : folder);
    fd_ = ::open(native.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0) {
        return;
    }
    int rc = 0;
    do {
        rc = ::flock(fd_, LOCK_EX);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

FolderLock::~FolderLock() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool replaceFile(const QString& path, const QByteArray& contents, QString* error) {
    QSaveFile file(path);
    // commit() renames the file even when its closing flush fails (a full disk), so a flush
    // of its own comes first: a cut-off file must never replace the old one.
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size() ||
        !file.flush() || !file.commit()) {
        if (error != nullptr) {
            *error = germanSystemError(file.errorString());
        }
        return false;
    }
    return true;
}

}  // namespace pendra::platform
