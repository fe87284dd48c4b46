#include "setup/directory_tree.h"

#include "platform/paths.h"
#include "platform/unique_fd.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>

namespace pendra::setup {

using platform::UniqueFd;

namespace {

constexpr int kDirectoryFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};
using DirPtr = std::unique_ptr<DIR, DirCloser>;

QString withoutTrailingSeparators(const QString& path) {
    QString trimmed = path;
    while (trimmed.size() > 1 && trimmed.endsWith(QLatin1Char('/'))) {
        trimmed.chop(1);
    }
    return trimmed;
}

QByteArray native(const QString& path) {
    return QFile::encodeName(platform::resolvePath(path));
}

// A listing of the open folder; the folder's descriptor stays the caller's.
DirPtr listing(int folder) {
    const int copy = ::dup(folder);
    if (copy < 0) {
        return nullptr;
    }
    DirPtr dir(::fdopendir(copy));
    if (!dir) {
        ::close(copy);
    }
    return dir;
}

bool isDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// ---- copying ---------------------------------------------------------------------------

struct TreeCopy {
    dev_t targetDevice = 0;
    ino_t targetInode = 0;
};

// A new entry under a name of its own in the target folder, removed again unless it is
// renamed over its destination.
class TemporaryEntry {
public:
    explicit TemporaryEntry(int folder) : folder_(folder) {
        name_ = ".pendra-" + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
    }
    ~TemporaryEntry() {
        if (!placed_) {
            ::unlinkat(folder_, name_.constData(), 0);
        }
    }
    TemporaryEntry(const TemporaryEntry&) = delete;
    TemporaryEntry& operator=(const TemporaryEntry&) = delete;

    const char* name() const { return name_.constData(); }

    // rename() replaces a file or a link at the destination instead of writing through it.
    int placeAs(const QByteArray& destination) {
        if (::renameat(folder_, name(), folder_, destination.constData()) != 0) {
            return errno;
        }
        placed_ = true;
        return 0;
    }

private:
    int folder_;
    QByteArray name_;
    bool placed_ = false;
};

// The name an entry gets in the target: an existing entry of that name, letter case aside,
// else the name as it is.
QByteArray targetName(const QString& targetPath, const char* name) {
    return QFile::encodeName(
        QFileInfo(platform::resolvePath(platform::joinPath(targetPath, QFile::decodeName(name))))
            .fileName());
}

int writeAll(int out, const char* data, ssize_t size) {
    while (size > 0) {
        const ssize_t written = ::write(out, data, static_cast<size_t>(size));
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        data += written;
        size -= written;
    }
    return 0;
}

int copyContents(int in, int out) {
    std::array<char, 65536> buffer{};
    for (;;) {
        const ssize_t got = ::read(in, buffer.data(), buffer.size());
        if (got == 0) {
            return 0;
        }
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (const int error = writeAll(out, buffer.data(), got)) {
            return error;
        }
    }
}

int copyFile(int sourceFolder, const char* name, mode_t mode, int targetFolder,
             const QByteArray& destination) {
    const UniqueFd in(::openat(sourceFolder, name, O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    if (!in.isValid()) {
        return errno;
    }
    TemporaryEntry temporary(targetFolder);
    const UniqueFd out(::openat(targetFolder, temporary.name(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!out.isValid()) {
        return errno;
    }
    if (const int error = copyContents(in.get(), out.get())) {
        return error;
    }
    // Writable by its owner like a file without the read-only attribute; set-id bits from a
    // medium are never kept by a setup that runs as root.
    if (::fchmod(out.get(), (mode & 0777) | S_IWUSR) != 0) {
        return errno;
    }
    return temporary.placeAs(destination);
}

int copyLink(int sourceFolder, const char* name, int targetFolder, const QByteArray& destination) {
    std::array<char, PATH_MAX> linkTarget{};
    const ssize_t length = ::readlinkat(sourceFolder, name, linkTarget.data(), linkTarget.size());
    if (length < 0) {
        return errno;
    }
    if (static_cast<size_t>(length) == linkTarget.size()) {
        return ENAMETOOLONG;
    }
    TemporaryEntry temporary(targetFolder);
    if (::symlinkat(linkTarget.data(), targetFolder, temporary.name()) != 0) {
        return errno;
    }
    return temporary.placeAs(destination);
}

// A folder in the target; a link found in its place is replaced, not followed.
int makeFolder(int targetFolder, const QByteArray& name) {
    if (::mkdirat(targetFolder, name.constData(), 0777) == 0) {
        return 0;
    }
    if (errno != EEXIST) {
        return errno;
    }
    struct stat existing {};
    if (::fstatat(targetFolder, name.constData(), &existing, AT_SYMLINK_NOFOLLOW) != 0) {
        return errno;
    }
    if (S_ISDIR(existing.st_mode)) {
        return 0;
    }
    if (!S_ISLNK(existing.st_mode)) {
        return ENOTDIR;
    }
    if (::unlinkat(targetFolder, name.constData(), 0) != 0 ||
        ::mkdirat(targetFolder, name.constData(), 0777) != 0) {
        return errno;
    }
    return 0;
}

int copyFolder(int source, int target, const QString& targetPath, const TreeCopy& copy);

int copySubfolder(int sourceFolder, const char* name, int targetFolder, const QString& targetPath,
                  const TreeCopy& copy) {
    const UniqueFd source(::openat(sourceFolder, name, kDirectoryFlags));
    if (!source.isValid()) {
        return errno;
    }
    const QByteArray destination = targetName(targetPath, name);
    if (const int error = makeFolder(targetFolder, destination)) {
        return error;
    }
    const UniqueFd target(::openat(targetFolder, destination.constData(), kDirectoryFlags));
    if (!target.isValid()) {
        return errno;
    }
    return copyFolder(source.get(), target.get(),
                      platform::joinPath(targetPath, QFile::decodeName(destination)), copy);
}

int copyEntry(int source, const char* name, int target, const QString& targetPath,
              const TreeCopy& copy) {
    struct stat entry {};
    if (::fstatat(source, name, &entry, AT_SYMLINK_NOFOLLOW) != 0) {
        return errno;
    }
    if (S_ISDIR(entry.st_mode)) {
        // A target inside the source is not copied into itself.
        const bool isTarget = entry.st_dev == copy.targetDevice && entry.st_ino == copy.targetInode;
        return isTarget ? 0 : copySubfolder(source, name, target, targetPath, copy);
    }
    if (S_ISREG(entry.st_mode)) {
        return copyFile(source, name, entry.st_mode, target, targetName(targetPath, name));
    }
    if (S_ISLNK(entry.st_mode)) {
        return copyLink(source, name, target, targetName(targetPath, name));
    }
    return 0;
}

int copyFolder(int source, int target, const QString& targetPath, const TreeCopy& copy) {
    const DirPtr dir = listing(source);
    if (!dir) {
        return errno;
    }
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir.get());
        if (entry == nullptr) {
            return errno;
        }
        if (isDotOrDotDot(entry->d_name)) {
            continue;
        }
        if (const int error = copyEntry(source, entry->d_name, target, targetPath, copy)) {
            return error;
        }
    }
}

// ---- removing --------------------------------------------------------------------------

QByteArray canonical(const QByteArray& path) {
    const std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.constData(), nullptr),
                                                           &std::free);
    return real ? QByteArray(real.get()) : path;
}

bool holdsOrIs(const QByteArray& folder, const QByteArray& home) {
    const QByteArray canonicalHome = canonical(home);
    return canonicalHome == folder || canonicalHome.startsWith(folder + '/');
}

// The root, a home folder of any user, or a folder that holds one.
bool isProtected(const QByteArray& path) {
    const QByteArray folder = canonical(path);
    if (folder == "/" || holdsOrIs(folder, qgetenv("HOME"))) {
        return true;
    }
    bool found = false;
    std::array<char, 4096> buffer{};
    passwd user{};
    passwd* next = nullptr;
    ::setpwent();
    while (!found && ::getpwent_r(&user, buffer.data(), buffer.size(), &next) == 0) {
        found = user.pw_dir != nullptr && *user.pw_dir != '\0' && holdsOrIs(folder, user.pw_dir);
    }
    ::endpwent();
    return found;
}

bool removeContents(int folder, dev_t device);

// What is already gone counts as removed: the uninstallers started just before delete in the
// same tree at the same time.
bool removedOrGone(int result) {
    return result == 0 || errno == ENOENT;
}

bool removeEntry(int folder, const char* name, dev_t device) {
    struct stat info {};
    if (::fstatat(folder, name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
        return errno == ENOENT;
    }
    if (!S_ISDIR(info.st_mode)) {
        return removedOrGone(::unlinkat(folder, name, 0));
    }
    // Another file system mounted inside the tree is not the tree's to delete.
    if (info.st_dev != device) {
        return false;
    }
    const UniqueFd sub(::openat(folder, name, kDirectoryFlags));
    if (!sub.isValid()) {
        return errno == ENOENT;
    }
    return removeContents(sub.get(), device) &&
           removedOrGone(::unlinkat(folder, name, AT_REMOVEDIR));
}

bool removeContents(int folder, dev_t device) {
    const DirPtr dir = listing(folder);
    if (!dir) {
        return false;
    }
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir.get());
        if (entry == nullptr) {
            return errno == 0;
        }
        if (!isDotOrDotDot(entry->d_name) && !removeEntry(folder, entry->d_name, device)) {
            return false;
        }
    }
}

}  // namespace

int CreateDirectoryPath(const QString& path) {
    if (path.isEmpty()) {
        return ENOENT;
    }
    if (path.startsWith(QLatin1Char('/')) && ::chdir("/") != 0) {
        return errno;
    }
    for (const QString& part : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        const QByteArray folder = native(part);
        if (::mkdir(folder.constData(), 0777) != 0 && errno != EEXIST) {
            return errno;
        }
        if (::chdir(folder.constData()) != 0) {
            return errno;
        }
    }
    return 0;
}

int CopyDirectoryTree(const QString& source, const QString& target) {
    const QString from = withoutTrailingSeparators(source);
    const QString to = withoutTrailingSeparators(target);
    if (const int error = CreateDirectoryPath(to)) {
        return error;
    }
    const UniqueFd sourceFolder(
        ::open(native(from).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!sourceFolder.isValid()) {
        return errno;
    }
    const QString targetPath = platform::resolvePath(to);
    const UniqueFd targetFolder(
        ::open(QFile::encodeName(targetPath).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!targetFolder.isValid()) {
        return errno;
    }
    struct stat targetInfo {};
    if (::fstat(targetFolder.get(), &targetInfo) != 0) {
        return errno;
    }
    return copyFolder(sourceFolder.get(), targetFolder.get(), targetPath,
                      {targetInfo.st_dev, targetInfo.st_ino});
}

int RemoveDirectoryTree(const QString& path) {
    const QByteArray folder = native(withoutTrailingSeparators(path));
    struct stat info {};
    if (folder.isEmpty() || ::lstat(folder.constData(), &info) != 0) {
        return 0;
    }
    if (S_ISLNK(info.st_mode)) {
        return ::unlink(folder.constData()) == 0 ? 1 : 0;
    }
    if (!S_ISDIR(info.st_mode) || isProtected(folder)) {
        return 0;
    }
    const UniqueFd top(::open(folder.constData(), kDirectoryFlags));
    if (!top.isValid() || !removeContents(top.get(), info.st_dev)) {
        return 0;
    }
    return ::rmdir(folder.constData()) == 0 ? 1 : 0;
}

}  // namespace pendra::setup
