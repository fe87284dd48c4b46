#include "setup/installer_runner.h"

#include "platform/paths.h"
#include "platform/system_folders.h"
#include "setup/process_lookup.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>

#include <poll.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

namespace pendra::setup {

namespace {

constexpr std::chrono::milliseconds kLookupPause{100};
constexpr std::chrono::seconds kLookupLimit{60};

int timeoutOf(const std::optional<std::chrono::milliseconds>& limit) {
    return limit ? static_cast<int>(limit->count()) : -1;
}

// Waits for a process that is not our child through a descriptor of it.
int awaitProcess(qint64 id, const std::optional<std::chrono::milliseconds>& limit) {
    const int fd = static_cast<int>(::syscall(SYS_pidfd_open, static_cast<pid_t>(id), 0));
    if (fd < 0) {
        // Gone between the lookup and the opening: it has ended, which is what we wait for.
        return errno == ESRCH ? kInstallerEnded : kAwaitedNotOpened;
    }
    pollfd entry{fd, POLLIN, 0};
    int ready = 0;
    do {
        ready = ::poll(&entry, 1, timeoutOf(limit));
    } while (ready < 0 && errno == EINTR);
    ::close(fd);
    return ready == 0 ? kWaitTimedOut : kInstallerEnded;
}

}  // namespace

int RunInstaller(const RunnerParameter& parameter) {
    QProcess installer;
    installer.setProgram(platform::resolvePath(parameter.program));
    installer.setStandardOutputFile(QProcess::nullDevice());
    installer.setStandardErrorFile(QProcess::nullDevice());
    installer.start();
    if (!installer.waitForStarted(-1)) {
        return kInstallerNotStarted;
    }
    if (!installer.waitForFinished(timeoutOf(parameter.limit))) {
        return kWaitTimedOut;
    }
    if (parameter.awaitedProcess.isEmpty() ||
        (installer.exitStatus() == QProcess::NormalExit && installer.exitCode() == 0)) {
        return kInstallerEnded;
    }
    // An installer that failed by itself hands over to nobody: after a while the lookup gives
    // up, as a wait at its limit, instead of keeping the page waiting for ever.
    const QDeadlineTimer deadline(kLookupLimit);
    qint64 awaited = -1;
    while ((awaited = FindProcessByName(parameter.awaitedProcess)) < 0) {
        if (deadline.hasExpired()) {
            return kWaitTimedOut;
        }
        std::this_thread::sleep_for(kLookupPause);
    }
    return awaitProcess(awaited, parameter.limit);
}

struct InstallerRun::Shared {
    mutable std::mutex mutex;
    mutable std::condition_variable done;
    std::optional<int> result;
};

InstallerRun::InstallerRun(RunnerParameter parameter) : shared_(std::make_shared<Shared>()) {
    try {
        std::thread([shared = shared_, parameter = std::move(parameter)] {
            const int result = RunInstaller(parameter);
            const std::lock_guard lock(shared->mutex);
            shared->result = result;
            shared->done.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        shared_.reset();
    }
}

InstallerRun::~InstallerRun() = default;

std::optional<int> InstallerRun::result() const {
    if (!shared_) {
        return kInstallerNotStarted;
    }
    const std::lock_guard lock(shared_->mutex);
    return shared_->result;
}

int InstallerRun::waitForResult() const {
    if (!shared_) {
        return kInstallerNotStarted;
    }
    std::unique_lock lock(shared_->mutex);
    shared_->done.wait(lock, [this] { return shared_->result.has_value(); });
    return *shared_->result;
}

void waitForProcess(qint64 id) {
    awaitProcess(id, std::nullopt);
}

void RemoveInstallerCopies(const QString& component) {
    const QString temp = platform::getTempPath(260);
    for (const QString& name : {QStringLiteral("Setup.lst"), QStringLiteral("Setup.exe"),
                                component + QStringLiteral(".cab")}) {
        QFile::remove(platform::resolvePath(platform::joinPath(temp, name)));
    }
}

}  // namespace pendra::setup
