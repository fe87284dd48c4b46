#pragma once

#include "support/demo_machine.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace pendra::test {

// Damo32.ini, Pendra.ini and the registry store of a machine as a complete run left them;
// after a killed run they must still read the same.
class SettingsSnapshot {
public:
    explicit SettingsSnapshot(const DemoMachine& machine);

    // What no longer reads as it did: a key lost or changed, a registry store that differs.
    [[nodiscard]] QStringList faults() const;

private:
    struct Entry {
        QString file;
        QString section;
        QString key;
        QString value;
    };

    void addEntries(const QString& file);

    QString tmp_;
    QString registry_;
    QByteArray registryBytes_;
    QList<Entry> entries_;
};

}  // namespace pendra::test
