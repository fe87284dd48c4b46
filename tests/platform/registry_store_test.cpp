#include "platform/registry_store.h"
#include "support/sandbox.h"

#include <gtest/gtest.h>

using namespace pendra::platform;
using pendra::test::Sandbox;

namespace {

const QString kProduct = QStringLiteral("Software\\velmora systeme gmbh\\Pendra\\1.0");

QString text(const RegistryStore& store, const QString& key, const QString& name) {
    RegValue value;
    return store.queryValue(key, name, &value).ok() ? value.text() : QStringLiteral("<fehlt>");
}

}  // namespace

TEST(RegistryStore, ValuesRoundTripWithNamesMatchedWithoutCaseAndKeptAsWritten) {
    const Sandbox box;
    RegistryStore store = RegistryStore::system();
    ASSERT_TRUE(store.createKey(kProduct).ok());
    ASSERT_TRUE(
        store.setValue(kProduct, QStringLiteral("WKen"), RegValue::fromText(QStringLiteral("1")))
            .ok());
    ASSERT_TRUE(store
                    .setValue(kProduct, QStringLiteral("Path"),
                              RegValue::fromText(QStringLiteral("C:\\Programme\\Pendra \"neu\" €")))
                    .ok());
    ASSERT_TRUE(store
                    .setValue(kProduct.toUpper(), QStringLiteral("wken"),
                              RegValue::fromText(QStringLiteral("2")))
                    .ok());

    EXPECT_EQ(text(store, kProduct.toLower(), QStringLiteral("WKEN")), QStringLiteral("2"));
    EXPECT_EQ(text(store, kProduct, QStringLiteral("path")),
              QStringLiteral("C:\\Programme\\Pendra \"neu\" €"));

    const QByteArray file = box.readFile(QStringLiteral("system/registry.reg"));
    EXPECT_TRUE(file.startsWith("REGEDIT4\r\n"));
    EXPECT_TRUE(file.contains(
        "[HKEY_LOCAL_MACHINE\\Software\\velmora systeme gmbh\\Pendra\\1.0]\r\n\"WKen\"=\"2\"\r\n"
        "\"Path\"=\"C:\\\\Programme\\\\Pendra \\\"neu\\\" \x80\"\r\n"));
}

TEST(RegistryStore, MissingKeysAndValuesAreReportedAsMissing) {
    const Sandbox box;
    RegistryStore store = RegistryStore::system();
    RegValue value;
    EXPECT_EQ(store.queryValue(kProduct, QStringLiteral("WKen"), &value).status,
              RegStatus::NotFound);
    ASSERT_TRUE(store.createKey(kProduct).ok());
    EXPECT_EQ(store.queryValue(kProduct, QStringLiteral("WKen"), &value).status,
              RegStatus::NotFound);
    EXPECT_EQ(store
                  .setValue(QStringLiteral("Software\\Fehlt"), QStringLiteral("x"),
                            RegValue::fromText(QStringLiteral("1")))
                  .status,
              RegStatus::NotFound);
    EXPECT_EQ(store.deleteValue(kProduct, QStringLiteral("WKen")).status, RegStatus::NotFound);
}

TEST(RegistryStore, SubkeysAreListedAndAKeyWithSubkeysIsOnlyDeletedOnRequest) {
    const Sandbox box;
    RegistryStore store = RegistryStore::system();
    ASSERT_TRUE(store.createKey(kProduct).ok());
    ASSERT_TRUE(store.createKey(QStringLiteral("Software\\velmora systeme gmbh\\Andere")).ok());

    QStringList names;
    ASSERT_TRUE(store.subkeys(QStringLiteral("software\\VELMORA systeme gmbh"), &names).ok());
    EXPECT_EQ(names, (QStringList{QStringLiteral("Andere"), QStringLiteral("Pendra")}));

    EXPECT_EQ(store.deleteKey(QStringLiteral("Software\\velmora systeme gmbh\\Pendra")).status,
              RegStatus::HasSubkeys);
    ASSERT_TRUE(store.deleteKey(kProduct).ok());
    ASSERT_TRUE(store.deleteKey(QStringLiteral("Software\\velmora systeme gmbh\\Pendra")).ok());
    ASSERT_TRUE(store.subkeys(QStringLiteral("Software\\velmora systeme gmbh"), &names).ok());
    EXPECT_EQ(names, QStringList{QStringLiteral("Andere")});

    ASSERT_TRUE(store.deleteKey(QStringLiteral("Software"), RegistryStore::Subkeys::Delete).ok());
    EXPECT_EQ(store.keyExists(QStringLiteral("Software\\velmora systeme gmbh")).status,
              RegStatus::NotFound);
}

TEST(RegistryStore, ExpandableStringsAndDataWithNulSurviveTheFile) {
    const Sandbox box;
    RegistryStore store = RegistryStore::system();
    ASSERT_TRUE(store.createKey(kProduct).ok());
    ASSERT_TRUE(
        store
            .setValue(kProduct, QStringLiteral("Pfad"),
                      RegValue::fromText(QStringLiteral("%SystemRoot%\\x"), RegType::ExpandString))
            .ok());
    ASSERT_TRUE(
        store
            .setValue(kProduct, QStringLiteral("Roh"), {RegType::String, QByteArray("abc\0xyz", 7)})
            .ok());

    RegValue value;
    ASSERT_TRUE(store.queryValue(kProduct, QStringLiteral("pfad"), &value).ok());
    EXPECT_EQ(value.type, RegType::ExpandString);
    EXPECT_EQ(value.text(), QStringLiteral("%SystemRoot%\\x"));
    ASSERT_TRUE(store.queryValue(kProduct, QStringLiteral("Roh"), &value).ok());
    EXPECT_EQ(value.data, QByteArray("abc\0xyz", 7));
    EXPECT_EQ(value.text(), QStringLiteral("abc"));
}

TEST(RegistryStore, AFileCutInHalfGivesAClearErrorAndIsNeverOverwritten) {
    const Sandbox box;
    RegistryStore store = RegistryStore::system();
    ASSERT_TRUE(store.createKey(kProduct).ok());
    ASSERT_TRUE(store
                    .setValue(kProduct, QStringLiteral("Anwendung"),
                              RegValue::fromText(QStringLiteral("Pendra.mde")))
                    .ok());
    ASSERT_TRUE(store
                    .setValue(kProduct, QStringLiteral("Path"),
                              RegValue::fromText(QStringLiteral("/opt/pendra")))
                    .ok());
    const QByteArray whole = box.readFile(QStringLiteral("system/registry.reg"));
    const QByteArray half = whole.left(whole.size() / 2);
    ASSERT_FALSE(half.endsWith('\n'));
    box.writeFile(QStringLiteral("system/registry.reg"), half);

    RegValue value;
    const RegResult read = store.queryValue(kProduct, QStringLiteral("Anwendung"), &value);
    EXPECT_EQ(read.status, RegStatus::Damaged);
    EXPECT_TRUE(read.message.contains(QStringLiteral("beschädigt"))) << read.message.toStdString();
    EXPECT_EQ(
        store.setValue(kProduct, QStringLiteral("WKen"), RegValue::fromText(QStringLiteral("1")))
            .status,
        RegStatus::Damaged);
    EXPECT_EQ(box.readFile(QStringLiteral("system/registry.reg")), half);
}

TEST(RegistryStore, ANameWithALineBreakIsRefusedAndTheStoreStaysReadable) {
    const Sandbox box;
    RegistryStore store = RegistryStore::system();
    ASSERT_TRUE(store.createKey(kProduct).ok());
    const QByteArray before = box.readFile(QStringLiteral("system/registry.reg"));
    const RegResult key = store.createKey(kProduct + QStringLiteral("\\neu\nZeile"));
    EXPECT_EQ(key.status, RegStatus::InvalidName);
    EXPECT_TRUE(key.message.contains(QStringLiteral("Zeilenumbruch"))) << key.message.toStdString();
    EXPECT_EQ(store
                  .setValue(kProduct, QStringLiteral("Wert\r\nzwei"),
                            RegValue::fromText(QStringLiteral("1")))
                  .status,
              RegStatus::InvalidName);
    EXPECT_EQ(box.readFile(QStringLiteral("system/registry.reg")), before);
    EXPECT_TRUE(store.keyExists(kProduct).ok());
    // Line breaks in the data are fine: they are written as hex.
    EXPECT_TRUE(store
                    .setValue(kProduct, QStringLiteral("Text"),
                              RegValue::fromText(QStringLiteral("a\r\nb")))
                    .ok());
    EXPECT_EQ(text(store, kProduct, QStringLiteral("Text")), QStringLiteral("a\r\nb"));
}

TEST(RegistryStore, ForeignOrGarbledLinesAreDamageNotGuesswork) {
    const Sandbox box;
    const RegistryStore store = RegistryStore::system();
    const QByteArray cases[] = {
        "Kein Kopf\r\n",
        "REGEDIT4\r\n\"Wert\"=\"vor jedem Schl\xFCssel\"\r\n",
        "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software]\r\n",
        "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Software]\r\n\"x\"=dword:00000001\r\n",
        "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Software]\r\n\"x\"=hex(2):4,00\r\n",
    };
    for (const QByteArray& contents : cases) {
        box.writeFile(QStringLiteral("system/registry.reg"), contents);
        EXPECT_EQ(store.keyExists(QStringLiteral("Software")).status, RegStatus::Damaged)
            << contents.toStdString();
    }
}

TEST(RegistryStore, FullKeyNamesAcceptOnlyTheMachineRoot) {
    QString key;
    ASSERT_TRUE(splitMachineKey(QStringLiteral("HKLM\\Software\\x"), &key));
    EXPECT_EQ(key, QStringLiteral("Software\\x"));
    ASSERT_TRUE(splitMachineKey(QStringLiteral("hkey_local_machine\\Software"), &key));
    EXPECT_EQ(key, QStringLiteral("Software"));
    EXPECT_FALSE(splitMachineKey(QStringLiteral("HKCU\\Software"), &key));
}
