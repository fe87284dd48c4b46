#include "common/Registry.h"

#include "platform/registry_store.h"

namespace pendra::common::Registry {

namespace {
constexpr qsizetype kBufferSize = 255;
}

QString ReadRegValue(const QString& keyPath, const QString& valueName) {
    platform::RegValue value;
    if (!platform::RegistryStore::system().queryValue(keyPath, valueName, &value).ok() ||
        value.data.size() > kBufferSize) {
        return {};
    }
    return value.text();
}

}  // namespace pendra::common::Registry
