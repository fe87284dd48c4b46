#include "reliability/settings_snapshot.h"

#include "common/product_key.h"
#include "platform/profile.h"
#include "platform/registry_store.h"

#include <QRegularExpression>

namespace pendra::test {

SettingsSnapshot::SettingsSnapshot(const DemoMachine& machine)
    : tmp_(machine.tmpFolder()),
      registry_(machine.path(QStringLiteral("system/registry.reg"))),
      registryBytes_(readBytes(registry_)) {
    addEntries(machine.path(QStringLiteral("Datev/Damo32.ini")));
    addEntries(machine.path(QStringLiteral("system/Windows/Pendra.ini")));
}

void SettingsSnapshot::addEntries(const QString& file) {
    const QRegularExpression section(QStringLiteral("^\\[(.+)\\]$"));
    QString current;
    for (const QByteArray& raw : readBytes(file).split('\n')) {
        const QString line = QString::fromLatin1(raw).trimmed();
        const auto match = section.match(line);
        if (match.hasMatch()) {
            current = match.captured(1);
        } else if (line.contains(u'=')) {
            entries_.append({file, current, line.section(u'=', 0, 0), line.section(u'=', 1)});
        }
    }
}

// The converter's input file is the one key a run changes with every hand-over.
QStringList SettingsSnapshot::faults() const {
    QStringList faults;
    for (const Entry& entry : entries_) {
        const QString now =
            platform::getPrivateProfileString(entry.section, entry.key, {}, 4096, entry.file);
        const bool inputFile = entry.key == QLatin1String("Eingabedatei");
        if (inputFile ? !now.startsWith(tmp_ + QStringLiteral("/FIBU-BW.")) : now != entry.value) {
            faults.append(QStringLiteral("%1 [%2] %3 = \"%4\"")
                              .arg(entry.file, entry.section, entry.key, now));
        }
    }
    if (entries_.size() < 10) {
        faults.append(QStringLiteral("too few settings read"));
    }
    const platform::RegistryStore store(registry_);
    if (readBytes(registry_) != registryBytes_ || !store.keyExists(common::productKey()).ok()) {
        faults.append(QStringLiteral("registry store changed or damaged"));
    }
    return faults;
}

}  // namespace pendra::test
