#include "setup/RegistryKey.h"

#include "platform/codepage.h"

#include <utility>

namespace pendra::setup {

using platform::RegistryStore;
using platform::RegResult;
using platform::RegType;
using platform::RegValue;

// The store holds HKEY_LOCAL_MACHINE only, the one root the setup uses.
void RegistryKey::SetKey(Root /*root*/, const QString& path) {
    path_ = path.endsWith(QLatin1Char('\\')) ? path.chopped(1) : path;
}

QString RegistryKey::keyPath(const QString& subkey) const {
    return subkey.startsWith(QLatin1Char('\\')) ? path_ + subkey
                                                : path_ + QLatin1Char('\\') + subkey;
}

bool RegistryKey::failed(const RegResult& result) {
    if (result.ok()) {
        return false;
    }
    error_ = true;
    return true;
}

QString RegistryKey::ReadString(const QString& subkey, const QString& valueName) {
    RegType type = RegType::String;
    return ReadString(subkey, valueName, &type);
}

QString RegistryKey::ReadString(const QString& subkey, const QString& valueName, RegType* type) {
    RegValue value;
    if (failed(RegistryStore::system().queryValue(keyPath(subkey), valueName, &value)) ||
        value.data.size() > kBufferSize) {
        error_ = true;
        return readFailed();
    }
    *type = value.type;
    return value.text();
}

void RegistryKey::WriteString(const QString& subkey, const QString& valueName, const QString& data,
                              RegType type) {
    // The data and its terminating NUL must fit the buffer they pass through.
    if (platform::toAnsi(data).size() >= kBufferSize) {
        error_ = true;
        return;
    }
    RegistryStore store = RegistryStore::system();
    const QString key = keyPath(subkey);
    if (failed(store.createKey(key))) {
        return;
    }
    failed(store.setValue(key, valueName, RegValue::fromText(data, type)));
}

void RegistryKey::DeleteKey(const QString& subkey) {
    RegistryStore store = RegistryStore::system();
    if (failed(store.keyExists(path_))) {
        return;
    }
    failed(store.deleteKey(keyPath(subkey)));
}

int RegistryKey::DeleteValue(const QString& subkey, const QString& valueName) {
    return failed(RegistryStore::system().deleteValue(keyPath(subkey), valueName)) ? -1 : 0;
}

int RegistryKey::HasSubkeys(const QString& subkey) {
    QStringList names;
    if (failed(RegistryStore::system().subkeys(keyPath(subkey), &names))) {
        return -1;
    }
    return names.isEmpty() ? 0 : 1;
}

bool RegistryKey::TakeError() {
    return std::exchange(error_, false);
}

}  // namespace pendra::setup
