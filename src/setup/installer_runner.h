#pragma once

#include <QString>

#include <chrono>
#include <memory>
#include <optional>

namespace pendra::setup {

// What a run of a component installer ended with: the worker's exit code.
enum RunnerResult {
    kInstallerEnded = 0,
    kInstallerNotStarted = 1,
    kWaitTimedOut = 2,
    kAwaitedNotOpened = 3,
};

struct RunnerParameter {
    QString program;         // the installer, started without arguments
    QString awaitedProcess;  // the program an installer hands over to; empty: none
    std::optional<std::chrono::milliseconds> limit;  // per wait; none: no limit
};

// Starts the installer and waits for it; an installer that ends with a code other than 0 has
// handed over to the awaited program, which is then looked for until it runs and waited for.
int RunInstaller(const RunnerParameter& parameter);

// RunInstaller on a worker thread of its own. The window's thread polls the result; the two
// share nothing else. The worker is never stopped: it ends with the installer, also when this
// object is gone.
class InstallerRun {
public:
    explicit InstallerRun(RunnerParameter parameter);
    ~InstallerRun();
    InstallerRun(const InstallerRun&) = delete;
    InstallerRun& operator=(const InstallerRun&) = delete;

    // False when no worker could be created; the installer has not run.
    bool started() const { return shared_ != nullptr; }
    // Empty while the installer runs.
    std::optional<int> result() const;
    // Blocks until the result is known; for runs without a window.
    int waitForResult() const;

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
};

// Waits for a running process that need not be a child of ours; returns when it has ended.
void waitForProcess(qint64 id);

// Deletes the installer's copies from the temporary folder; failures are of no concern.
void RemoveInstallerCopies(const QString& component);

}  // namespace pendra::setup
