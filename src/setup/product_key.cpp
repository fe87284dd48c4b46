#include "setup/product_key.h"

#include "common/product_key.h"
#include "setup/RegistryKey.h"

namespace pendra::setup {

namespace {

const QString kMaker = QStringLiteral("Software\\velmora systeme gmbh");

QString valueName(Component component) {
    return component == Component::Datev ? QStringLiteral("Datev") : QStringLiteral("Online");
}

RegistryKey productKey() {
    RegistryKey key;
    key.SetKey(RegistryKey::Root::LocalMachine, common::productKey());
    return key;
}

QString readProductValue(const QString& name) {
    return productKey().ReadString(QString(), name);
}

}  // namespace

bool mainApplicationInstalled() {
    return readProductValue(QStringLiteral("Anwendung")) == QLatin1String("Pendra.mde");
}

bool componentInstalled(Component component) {
    return readProductValue(valueName(component)) == QLatin1String("Ja");
}

QString installationPath() {
    return readProductValue(QStringLiteral("Path"));
}

void writeMainInstallation(const QString& installDir) {
    QString path = installDir;
    while (path.size() > 1 && path.endsWith(QLatin1Char('/'))) {
        path.chop(1);
    }
    RegistryKey key = productKey();
    key.WriteString(QString(), QStringLiteral("Anwendung"), QStringLiteral("Pendra.mde"));
    key.WriteString(QString(), QStringLiteral("Path"), path);
    key.WriteString(QString(), QStringLiteral("Datev"), QStringLiteral("Nein"));
    key.WriteString(QString(), QStringLiteral("Online"), QStringLiteral("Nein"));
}

void writeComponentInstalled(Component component) {
    productKey().WriteString(QString(), valueName(component), QStringLiteral("Ja"));
}

void removeComponent(Component component) {
    RegistryKey key;
    key.SetKey(RegistryKey::Root::LocalMachine, kMaker);
    key.DeleteValue(QStringLiteral("Pendra\\1.0"), valueName(component));
}

void removeMainInstallation() {
    RegistryKey key;
    key.SetKey(RegistryKey::Root::LocalMachine, QStringLiteral("Software"));
    key.DeleteKey(QStringLiteral("velmora systeme gmbh\\Pendra\\1.0"));
    key.DeleteKey(QStringLiteral("velmora systeme gmbh\\Pendra"));
    if (key.HasSubkeys(QStringLiteral("velmora systeme gmbh")) == 0) {
        key.DeleteKey(QStringLiteral("velmora systeme gmbh"));
    }
}

}  // namespace pendra::setup
