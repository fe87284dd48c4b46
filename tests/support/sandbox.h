#pragma once

#include "support/qt_printers.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <optional>

namespace pendra::test {

// Raw bytes of a file; writing creates the folders above it. Both throw on failure.
QByteArray readBytes(const QString& path);
void writeBytes(const QString& path, const QByteArray& contents);

// Sets an environment variable for its lifetime and restores the old state afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QString& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<QByteArray> old_;
};

// A temporary folder of its own for one test, with a system root inside it that
// PENDRA_SYSTEM_ROOT points to while the sandbox lives. Everything is removed afterwards.
class Sandbox {
public:
    Sandbox();

    QString path(const QString& relative = {}) const;
    QString systemRoot() const { return path(QStringLiteral("system")); }
    QString windowsFolder() const { return path(QStringLiteral("system/Windows")); }

    // Writes raw bytes, creating the folders above the file.
    void writeFile(const QString& relative, const QByteArray& contents) const;
    QByteArray readFile(const QString& relative) const;

private:
    QTemporaryDir dir_;
    std::optional<ScopedEnv> root_;
};

}  // namespace pendra::test
