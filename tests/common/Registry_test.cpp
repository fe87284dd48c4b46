#include "common/Registry.h"
#include "platform/registry_store.h"
#include "support/sandbox.h"

#include <gtest/gtest.h>

using namespace pendra;
using namespace pendra::common;
using pendra::platform::RegistryStore;
using pendra::platform::RegType;
using pendra::platform::RegValue;
using pendra::test::Sandbox;

namespace {

const QString kProduct = QStringLiteral("Software\\velmora systeme gmbh\\Pendra\\1.0");

void store(const QByteArray& data) {
    RegistryStore machine = RegistryStore::system();
    ASSERT_TRUE(machine.createKey(kProduct).ok());
    ASSERT_TRUE(machine.setValue(kProduct, QStringLiteral("WKen"), {RegType::String, data}).ok());
}

}  // namespace

TEST(ReadRegValue, ReturnsTheTextBeforeTheFirstNul) {
    const Sandbox box;
    store(QByteArray("EUR\0xyz", 7));
    EXPECT_EQ(common::Registry::ReadRegValue(kProduct, QStringLiteral("WKen")),
              QStringLiteral("EUR"));
    store(QByteArray("\0EUR", 4));
    EXPECT_EQ(common::Registry::ReadRegValue(kProduct, QStringLiteral("WKen")), QString());
}

TEST(ReadRegValue, MissingKeyValueOrStoreGiveTheEmptyText) {
    const Sandbox box;
    EXPECT_EQ(common::Registry::ReadRegValue(kProduct, QStringLiteral("WKen")), QString());
    store(QByteArray("1\0", 2));
    EXPECT_EQ(common::Registry::ReadRegValue(kProduct, QStringLiteral("Fehlt")), QString());
    EXPECT_EQ(
        common::Registry::ReadRegValue(QStringLiteral("Software\\Fehlt"), QStringLiteral("WKen")),
        QString());
    box.writeFile(QStringLiteral("system/registry.reg"), "REGEDIT4\r\n[HKEY_LOC");
    EXPECT_EQ(common::Registry::ReadRegValue(kProduct, QStringLiteral("WKen")), QString());
}

TEST(ReadRegValue, DataMustFitTheBufferOf255Bytes) {
    const Sandbox box;
    store(QByteArray(254, 'a') + QByteArray(1, '\0'));
    EXPECT_EQ(common::Registry::ReadRegValue(kProduct, QStringLiteral("WKen")), QString(254, 'a'));
    store(QByteArray(255, 'b'));
    EXPECT_EQ(common::Registry::ReadRegValue(kProduct, QStringLiteral("WKen")), QString(255, 'b'));
    store(QByteArray(255, 'c') + QByteArray(1, '\0'));
    EXPECT_EQ(common::Registry::ReadRegValue(kProduct, QStringLiteral("WKen")), QString());
}
