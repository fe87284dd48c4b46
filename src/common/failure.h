#pragma once

#include <QString>

#include <stdexcept>

namespace pendra {

// A failure of the platform (database, file system, process start) that ends the running
// command. Its text is German and names the cause; the command's top level shows it.
class Failure : public std::runtime_error {
public:
    explicit Failure(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}

    const QString& message() const { return message_; }

private:
    QString message_;
};

}  // namespace pendra
