#pragma once

#include "setup/RegistryKey.h"
#include "setup/Wizard.h"
#include "support/sandbox.h"

#include <QDir>
#include <QString>

#include <optional>
#include <vector>

namespace pendra::test {

// A machine for the wizard: the sandbox's system root, a temporary folder of its own and an
// installation medium with the component installers.
class WizardMachine {
public:
    WizardMachine() : tmp_("TMPDIR", box_.path(QStringLiteral("tmp"))) {
        QDir().mkpath(box_.path(QStringLiteral("tmp")));
        for (const char* component : {"PendraIni", "PendraTransfer", "Onlinebanking"}) {
            addInstaller(QString::fromLatin1(component));
        }
    }

    QString medium() const { return box_.path(QStringLiteral("medium")) + QLatin1Char('/'); }
    QString tmp(const QString& name) const { return box_.path(QStringLiteral("tmp/") + name); }
    const Sandbox& box() const { return box_; }

    void addInstaller(const QString& component) const {
        const QString folder = QStringLiteral("medium/") + component + QLatin1Char('/');
        box_.writeFile(folder + QStringLiteral("setup.exe"), "installer " + component.toLatin1());
        box_.writeFile(folder + component + QStringLiteral(".CAB"), "MSCF");
        box_.writeFile(folder + QStringLiteral("Setup.lst"), "[Setup]\r\nTitle=Pendra\r\n");
    }

    // Product key values; an empty text leaves the value out.
    static void setProductKey(const QString& anwendung, const QString& path, const QString& datev,
                              const QString& online) {
        setup::RegistryKey key;
        key.SetKey(setup::RegistryKey::Root::LocalMachine,
                   QStringLiteral("Software\\velmora systeme gmbh\\Pendra\\1.0"));
        const std::pair<const char*, QString> values[] = {
            {"Anwendung", anwendung}, {"Path", path}, {"Datev", datev}, {"Online", online}};
        for (const auto& [name, value] : values) {
            if (!value.isEmpty()) {
                key.WriteString(QString(), QString::fromLatin1(name), value);
            }
        }
    }

    static void setProgramFiles(const QString& folder) {
        setup::RegistryKey key;
        key.SetKey(setup::RegistryKey::Root::LocalMachine,
                   QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion"));
        key.WriteString(QString(), QStringLiteral("ProgramFilesDir"), folder);
    }

private:
    Sandbox box_;
    ScopedEnv tmp_;
};

// Keeps what the step machine asked of the window.
class RecordingView : public setup::WizardView {
public:
    setup::ChoiceFlags choice;
    std::vector<setup::Page> pages;
    std::optional<bool> nextEnabled;
    QString nextCaption;
    bool finished = false;

    setup::ChoiceFlags readChoice() override { return choice; }
    void showPage(setup::Page page) override {
        pages.push_back(page);
        nextEnabled = false;
    }
    void enableNext(bool enabled) override { nextEnabled = enabled; }
    void setNextCaption(const QString& caption) override { nextCaption = caption; }
    void finish() override { finished = true; }
};

}  // namespace pendra::test
