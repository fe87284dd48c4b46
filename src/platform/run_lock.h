#pragma once

#include "platform/unique_fd.h"

#include <QString>

namespace pendra::platform {

// A lock that at most one process of the machine holds under a name, for the object's
// lifetime; taking it never waits. It is an abstract Unix socket bound to a name derived from
// `name`: no file is left behind, the kernel frees it however the holder ends (SIGKILL
// included), and unlike FolderLock it cannot deadlock with a flock the same process holds.
// Programs the holder starts do not inherit it.
class RunLock {
public:
    explicit RunLock(const QString& name);

    bool isHeld() const { return fd_.isValid(); }
    // Another process holds the lock; false when it could not be taken for another reason.
    bool heldElsewhere() const { return heldElsewhere_; }
    // The German system error when the lock could not be taken though no other process holds it.
    const QString& error() const { return error_; }

private:
    UniqueFd fd_;
    bool heldElsewhere_ = false;
    QString error_;
};

}  // namespace pendra::platform
