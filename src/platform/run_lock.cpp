#include "platform/run_lock.h"

#include "platform/system_error_text.h"

#include <QCryptographicHash>

#include <sys/socket.h>
#include <sys/un.h>
#include <cerrno>
#include <cstddef>
#include <cstring>

namespace pendra::platform {

namespace {

// A leading NUL puts the address into the abstract namespace. The name is hashed so that any
// text, however long, fits the address.
sockaddr_un abstractAddress(const QString& name, socklen_t* length) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray text =
        "pendra-run-lock/" +
        QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Sha256).toHex();
    std::memcpy(address.sun_path + 1, text.constData(), static_cast<std::size_t>(text.size()));
    *length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + text.size());
    return address;
}

QString lastSystemError() {
    return germanSystemError(QString::fromLocal8Bit(std::strerror(errno)));
}

}  // namespace

RunLock::RunLock(const QString& name) {
    UniqueFd socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!socket.isValid()) {
        error_ = lastSystemError();
        return;
    }
    socklen_t length = 0;
    const sockaddr_un address = abstractAddress(name, &length);
    if (::bind(socket.get(), reinterpret_cast<const sockaddr*>(&address), length) != 0) {
        heldElsewhere_ = errno == EADDRINUSE;
        if (!heldElsewhere_) {
            error_ = lastSystemError();
        }
        return;
    }
    fd_ = std::move(socket);
}

}  // namespace pendra::platform
