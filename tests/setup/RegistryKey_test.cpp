#include "setup/RegistryKey.h"
#include "setup/product_key.h"
#include "setup/search_path.h"
#include "support/sandbox.h"

#include <gtest/gtest.h>

using namespace pendra::setup;
using pendra::platform::RegistryStore;
using pendra::platform::RegType;
using pendra::platform::RegValue;
using pendra::test::Sandbox;

namespace {

const QString kMaker = QStringLiteral("Software\\velmora systeme gmbh");
const QString kProduct = kMaker + QStringLiteral("\\Pendra\\1.0");
const QString kEnvironment =
    QStringLiteral("System\\CurrentControlSet\\Control\\Session Manager\\Environment");

RegistryKey keyAt(const QString& path) {
    RegistryKey key;
    key.SetKey(RegistryKey::Root::LocalMachine, path);
    return key;
}

RegValue stored(const QString& key, const QString& name) {
    RegValue value;
    EXPECT_TRUE(RegistryStore::system().queryValue(key, name, &value).ok());
    return value;
}

}  // namespace

TEST(RegistryKey, FailedReadsGiveTheMarkerAndKeepTheErrorUntilTaken) {
    const Sandbox box;
    RegistryKey key = keyAt(kProduct + QLatin1Char('\\'));
    EXPECT_EQ(key.ReadString(QString(), QStringLiteral("Path")), QString(QChar(0xFF)));
    key.WriteString(QString(), QStringLiteral("Path"), QStringLiteral("/opt/Pendra"));
    EXPECT_EQ(key.ReadString(QString(), QStringLiteral("Path")), QStringLiteral("/opt/Pendra"));
    EXPECT_TRUE(key.TakeError());
    EXPECT_FALSE(key.TakeError());

    // Subkeys join with one backslash whether or not they bring their own.
    RegistryKey maker = keyAt(kMaker);
    EXPECT_EQ(maker.ReadString(QStringLiteral("Pendra\\1.0"), QStringLiteral("path")),
              QStringLiteral("/opt/Pendra"));
    EXPECT_EQ(maker.ReadString(QStringLiteral("\\Pendra\\1.0"), QStringLiteral("Path")),
              QStringLiteral("/opt/Pendra"));
    EXPECT_FALSE(maker.TakeError());
}

TEST(RegistryKey, ValuesBeyondTheBufferAreNeitherReadNorWritten) {
    const Sandbox box;
    RegistryKey key = keyAt(kProduct);
    const QString fits(1023, QLatin1Char('x'));
    key.WriteString(QString(), QStringLiteral("Lang"), fits);
    EXPECT_EQ(key.ReadString(QString(), QStringLiteral("Lang")), fits);
    EXPECT_FALSE(key.TakeError());

    key.WriteString(QString(), QStringLiteral("Lang"), fits + QLatin1Char('y'));
    EXPECT_TRUE(key.TakeError());
    EXPECT_EQ(stored(kProduct, QStringLiteral("Lang")).text(), fits);

    // A longer value written by someone else fails to read.
    ASSERT_TRUE(
        RegistryStore::system()
            .setValue(kProduct, QStringLiteral("Lang"), RegValue::fromText(fits + QLatin1Char('y')))
            .ok());
    EXPECT_EQ(key.ReadString(QString(), QStringLiteral("Lang")), RegistryKey::readFailed());
    EXPECT_TRUE(key.TakeError());
}

TEST(RegistryKey, DeletingKeysValuesAndAskingForSubkeys) {
    const Sandbox box;
    RegistryKey key = keyAt(kMaker);
    key.WriteString(QStringLiteral("Pendra\\1.0"), QStringLiteral("Datev"), QStringLiteral("Ja"));
    EXPECT_EQ(key.HasSubkeys(QStringLiteral("Pendra")), 1);
    EXPECT_EQ(key.HasSubkeys(QStringLiteral("Pendra\\1.0")), 0);
    EXPECT_EQ(key.HasSubkeys(QStringLiteral("Fremd")), -1);
    EXPECT_TRUE(key.TakeError());

    key.DeleteKey(QStringLiteral("Pendra"));
    EXPECT_TRUE(key.TakeError());
    EXPECT_TRUE(RegistryStore::system().keyExists(kProduct).ok());

    EXPECT_EQ(key.DeleteValue(QStringLiteral("Pendra\\1.0"), QStringLiteral("Datev")), 0);
    EXPECT_EQ(key.DeleteValue(QStringLiteral("Pendra\\1.0"), QStringLiteral("Datev")), -1);
    EXPECT_TRUE(key.TakeError());
}

TEST(ProductKey, MainInstallationComponentsAndReaders) {
    const Sandbox box;
    EXPECT_FALSE(mainApplicationInstalled());
    EXPECT_FALSE(componentInstalled(Component::Datev));
    EXPECT_EQ(installationPath().size(), 1);

    writeMainInstallation(QStringLiteral("/opt/Pendra//"));
    EXPECT_TRUE(mainApplicationInstalled());
    EXPECT_EQ(installationPath(), QStringLiteral("/opt/Pendra"));
    EXPECT_FALSE(componentInstalled(Component::Online));
    writeComponentInstalled(Component::Datev);
    writeComponentInstalled(Component::Online);
    EXPECT_TRUE(componentInstalled(Component::Datev));

    removeComponent(Component::Datev);
    EXPECT_FALSE(componentInstalled(Component::Datev));
    EXPECT_TRUE(componentInstalled(Component::Online));
    EXPECT_TRUE(mainApplicationInstalled());
    EXPECT_EQ(installationPath(), QStringLiteral("/opt/Pendra"));

    keyAt(kProduct).WriteString(QString(), QStringLiteral("Anwendung"),
                                QStringLiteral("pendra.mde"));
    EXPECT_FALSE(mainApplicationInstalled());
}

TEST(ProductKey, RemovalKeepsTheMakerKeyOnlyWhileItHoldsAnotherKey) {
    const Sandbox box;
    writeMainInstallation(QStringLiteral("/opt/Pendra"));
    keyAt(kMaker).WriteString(QStringLiteral("Anderes\\2.0"), QStringLiteral("x"),
                              QStringLiteral("y"));
    removeMainInstallation();
    RegistryStore machine = RegistryStore::system();
    EXPECT_FALSE(machine.keyExists(kMaker + QStringLiteral("\\Pendra")).ok());
    EXPECT_TRUE(machine.keyExists(kMaker + QStringLiteral("\\Anderes\\2.0")).ok());

    ASSERT_TRUE(machine.deleteKey(kMaker + QStringLiteral("\\Anderes\\2.0")).ok());
    ASSERT_TRUE(machine.deleteKey(kMaker + QStringLiteral("\\Anderes")).ok());
    writeMainInstallation(QStringLiteral("/opt/Pendra"));
    removeMainInstallation();
    EXPECT_FALSE(machine.keyExists(kMaker).ok());
    EXPECT_TRUE(machine.keyExists(QStringLiteral("Software")).ok());
}

TEST(SearchPath, RewritesKeepTheExpandableType) {
    const Sandbox box;
    RegistryStore machine = RegistryStore::system();
    ASSERT_TRUE(machine.createKey(kEnvironment).ok());
    ASSERT_TRUE(machine
                    .setValue(kEnvironment, QStringLiteral("Path"),
                              RegValue::fromText(QStringLiteral("%SystemRoot%;/usr/bin;;"),
                                                 RegType::ExpandString))
                    .ok());
    EXPECT_TRUE(appendToSearchPath(QStringLiteral("/opt/Pendra")));
    EXPECT_TRUE(appendToSearchPath(QStringLiteral("/opt/Pendra")));
    RegValue value = stored(kEnvironment, QStringLiteral("Path"));
    EXPECT_EQ(value.type, RegType::ExpandString);
    EXPECT_EQ(value.text(), QStringLiteral("%SystemRoot%;/usr/bin;/opt/Pendra;/opt/Pendra;"));

    EXPECT_TRUE(removeFromSearchPath(QStringLiteral("/opt/Pendra")));
    value = stored(kEnvironment, QStringLiteral("Path"));
    EXPECT_EQ(value.type, RegType::ExpandString);
    EXPECT_EQ(value.text(), QStringLiteral("%SystemRoot%;/usr/bin;/opt/Pendra;"));

    // At the very start the directory stays, as it does when it is not there at all.
    EXPECT_TRUE(removeFromSearchPath(QStringLiteral("%SystemRoot%")));
    EXPECT_TRUE(removeFromSearchPath(QStringLiteral("/srv/anders")));
    EXPECT_EQ(stored(kEnvironment, QStringLiteral("Path")).text(),
              QStringLiteral("%SystemRoot%;/usr/bin;/opt/Pendra;"));
}

TEST(SearchPath, AValueThatCannotBeReadIsLeftAlone) {
    const Sandbox box;
    EXPECT_FALSE(appendToSearchPath(QStringLiteral("/opt/Pendra")));
    EXPECT_FALSE(RegistryStore::system().keyExists(kEnvironment).ok());

    const QString tooLong(1100, QLatin1Char('p'));
    RegistryStore machine = RegistryStore::system();
    ASSERT_TRUE(machine.createKey(kEnvironment).ok());
    ASSERT_TRUE(machine
                    .setValue(kEnvironment, QStringLiteral("Path"),
                              RegValue::fromText(tooLong, RegType::ExpandString))
                    .ok());
    EXPECT_FALSE(appendToSearchPath(QStringLiteral("/opt/Pendra")));
    EXPECT_FALSE(removeFromSearchPath(QStringLiteral("ppp")));
    EXPECT_EQ(stored(kEnvironment, QStringLiteral("Path")).text(), tooLong);
}
