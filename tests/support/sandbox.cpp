#include "support/sandbox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <stdexcept>

namespace pendra::test {

ScopedEnv::ScopedEnv(const char* name, const QString& value) : name_(name) {
    if (qEnvironmentVariableIsSet(name)) {
        old_ = qgetenv(name);
    }
    qputenv(name, value.toLocal8Bit());
}

ScopedEnv::~ScopedEnv() {
    if (old_) {
        qputenv(name_, *old_);
    } else {
        qunsetenv(name_);
    }
}

Sandbox::Sandbox() {
    if (!dir_.isValid()) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    QDir().mkpath(windowsFolder());
    root_.emplace("PENDRA_SYSTEM_ROOT", systemRoot());
}

QString Sandbox::path(const QString& relative) const {
    return relative.isEmpty() ? dir_.path() : dir_.filePath(relative);
}

void Sandbox::writeFile(const QString& relative, const QByteArray& contents) const {
    writeBytes(path(relative), contents);
}

QByteArray Sandbox::readFile(const QString& relative) const {
    return readBytes(path(relative));
}

QByteArray readBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw std::runtime_error("cannot read " + path.toStdString());
    }
    return file.readAll();
}

void writeBytes(const QString& path, const QByteArray& contents) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(contents) != contents.size()) {
        throw std::runtime_error("cannot write " + path.toStdString());
    }
}

}  // namespace pendra::test
