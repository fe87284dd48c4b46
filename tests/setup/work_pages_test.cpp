#include "setup/gui/WorkPage.h"
#include "setup/main_installation.h"
#include "setup/wizard_test_support.h"
#include "support/sandbox.h"
#include "ui/recording_message_sink.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QLabel>

#include <gtest/gtest.h>

using namespace pendra::setup;
using pendra::test::RecordingView;
using pendra::test::WizardMachine;
using pendra::ui::RecordingMessageSink;

namespace {

// Runs the window's events until "Weiter >>" has been enabled, as the page's timers fire.
bool waitForNext(const RecordingView& view) {
    const QDeadlineTimer deadline(20000);
    while (!view.nextEnabled.value_or(false) && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return view.nextEnabled.value_or(false);
}

QStringList shownLines(const QWidget& page) {
    QStringList lines;
    for (const QLabel* label : page.findChildren<QLabel*>()) {
        if (label->isVisibleTo(&page) && label->isEnabled()) {
            lines.append(label->objectName());
        }
    }
    return lines;
}

// An installer in the temporary folder as the wizard copies it: a script ending with `code`.
void placeInstaller(const WizardMachine& machine, const QByteArray& body, bool executable) {
    machine.box().writeFile(QStringLiteral("tmp/setup.exe"), body);
    machine.box().writeFile(QStringLiteral("tmp/Onlinebanking.CAB"), "MSCF");
    machine.box().writeFile(QStringLiteral("tmp/Setup.lst"), "[Setup]\r\n");
    QFile::setPermissions(machine.tmp(QStringLiteral("setup.exe")),
                          executable ? QFile::ReadOwner | QFile::ExeOwner : QFile::ReadOwner);
}

}  // namespace

TEST(ComponentPage, AnInstallerThatEndsWellIsToldAndItsCopiesGo) {
    const WizardMachine machine;
    placeInstaller(machine, "#!/bin/sh\nexit 0\n", true);
    RecordingMessageSink messages;
    SetupContext context{messages, machine.medium(), machine.box().path(QStringLiteral("P/"))};
    RecordingView view;
    ComponentPage page(Component::Online, context, view, nullptr);
    page.show();
    page.opened();
    EXPECT_EQ(shownLines(page), QStringList{QStringLiteral("id0")});
    EXPECT_TRUE(componentInstalled(Component::Online)) << "recorded before the installer runs";
    ASSERT_TRUE(waitForNext(view));
    EXPECT_EQ(shownLines(page), (QStringList{QStringLiteral("id0"), QStringLiteral("id1019"),
                                             QStringLiteral("id1010"), QStringLiteral("id1020")}));
    EXPECT_TRUE(messages.messages().empty());
    EXPECT_FALSE(QFile::exists(machine.tmp(QStringLiteral("setup.exe"))));
    EXPECT_FALSE(QFile::exists(machine.tmp(QStringLiteral("Setup.lst"))));
}

TEST(ComponentPage, AnInstallerThatCannotStartIsToldExactlyOnce) {
    const WizardMachine machine;
    placeInstaller(machine, "not a program", false);
    RecordingMessageSink messages;
    SetupContext context{messages, machine.medium(), machine.box().path(QStringLiteral("P/"))};
    RecordingView view;
    ComponentPage page(Component::Datev, context, view, nullptr);
    page.show();
    page.opened();
    ASSERT_TRUE(waitForNext(view));
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 120);
    }
    // The worker started, so the page said the installer was being started; then it failed.
    EXPECT_EQ(shownLines(page), (QStringList{QStringLiteral("id0"), QStringLiteral("id1019"),
                                             QStringLiteral("id1021"), QStringLiteral("id1020")}));
    ASSERT_EQ(messages.messages().size(), 1U);
    EXPECT_EQ(messages.messages()[0].text,
              QStringLiteral("Das Datev-Schnittstellen - Setup konnte nicht gestartet werden! "
                             "Rufen sie ") +
                  machine.tmp(QStringLiteral("Setup.exe")) + QStringLiteral(" direkt auf!"));
    EXPECT_EQ(messages.messages()[0].caption, QStringLiteral("Fehler"));
}

TEST(MainInstallationPage, ItsLinesStandGreyUntilTheirStepsAreDone) {
    const WizardMachine machine;
    placeInstaller(machine, "#!/bin/sh\nexit 0\n", true);
    machine.box().writeFile(QStringLiteral("medium/PendraProg/Pendra.mde"), "mde");
    RecordingMessageSink messages;
    SetupContext context{messages, machine.medium(),
                         machine.box().path(QStringLiteral("Programme/Pendra/"))};
    RecordingView view;
    MainInstallationPage page(context, view, nullptr);
    page.show();
    EXPECT_EQ(page.findChildren<QLabel*>().size(), 5);
    page.opened();
    EXPECT_EQ(shownLines(page), QStringList{QStringLiteral("id1039")});
    ASSERT_TRUE(waitForNext(view));
    // No shell folders on this machine: the shortcut line stays grey.
    EXPECT_EQ(shownLines(page), (QStringList{QStringLiteral("id1039"), QStringLiteral("id1036"),
                                             QStringLiteral("id1035"), QStringLiteral("id1038")}));
    EXPECT_TRUE(QFile::exists(machine.box().path(QStringLiteral("Programme/Pendra/Pendra.mde"))));
}
