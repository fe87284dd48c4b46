#pragma once

#include "platform/registry_store.h"

#include <QString>

namespace pendra::setup {

// The setup's access to the registry: a base key, set with SetKey, below which every
// operation addresses a subkey. A subkey is joined to the base path with a backslash unless it
// starts with one; an empty subkey addresses the base key itself. Nothing is kept open between
// operations. Failures are never reported: they set the error flag, which TakeError returns
// and clears.
class RegistryKey {
public:
    enum class Root { LocalMachine };

    // Reads are done through a buffer of this many bytes; writes that do not fit are refused.
    static constexpr int kBufferSize = 1024;

    // What ReadString returns when it fails: one character, byte 0xFF of the code page, which
    // no caller ever expects as a value.
    static QString readFailed() { return QString(QChar(0xFF)); }

    void SetKey(Root root, const QString& path);

    QString ReadString(const QString& subkey, const QString& valueName);
    // Also tells the value's type, so that a value can be written back as it was.
    QString ReadString(const QString& subkey, const QString& valueName, platform::RegType* type);
    void WriteString(const QString& subkey, const QString& valueName, const QString& data,
                     platform::RegType type = platform::RegType::String);
    // A key with subkeys is not deleted.
    void DeleteKey(const QString& subkey);
    // 0 on success, -1 on failure.
    int DeleteValue(const QString& subkey, const QString& valueName);
    // 0 without subkeys, 1 with, -1 when the key cannot be opened.
    int HasSubkeys(const QString& subkey);
    bool TakeError();

private:
    QString keyPath(const QString& subkey) const;
    bool failed(const platform::RegResult& result);

    QString path_;
    bool error_ = false;
};

}  // namespace pendra::setup
