#include "setup/Wizard.h"
#include "setup/gui/ChoicePage.h"
#include "setup/gui/Frame.h"
#include "setup/gui/WorkPage.h"
#include "setup/wizard_test_support.h"
#include "support/demo_machine.h"
#include "ui/german_translation.h"
#include "ui/recording_message_sink.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

using namespace pendra;
using setup::Frame;
using setup::Page;
using setup::Step;
using test::RecordingView;
using test::WizardMachine;

namespace {

const QString kNotInstalledYet = QStringLiteral(
    "Das Programm PendraTransfer kann erst nach der Installation von Pendra "
    "installiert werden; Bitte erst Pendra installieren");

template <typename T>
T* control(QWidget* parent, const char* name) {
    auto* widget = parent->findChild<T*>(QString::fromLatin1(name));
    if (widget == nullptr) {
        ADD_FAILURE() << "no control " << name;
    }
    return widget;
}

QPushButton* next(Frame& frame) {
    return control<QPushButton>(&frame, "id1005");
}

// Ticks as the check boxes of the choice page show them: main, DATEV, online.
std::array<bool, 3> ticks(QWidget* page) {
    return {control<QCheckBox>(page, "id1002")->isChecked(),
            control<QCheckBox>(page, "id1003")->isChecked(),
            control<QCheckBox>(page, "id1004")->isChecked()};
}

bool boxesEnabled(QWidget* page) {
    return control<QCheckBox>(page, "id1002")->isEnabled() &&
           control<QCheckBox>(page, "id1003")->isEnabled() &&
           control<QCheckBox>(page, "id1004")->isEnabled();
}

bool showsPresent(QWidget* page, const char* marker) {
    return control<QLabel>(page, marker)->pixmap().toImage() ==
           QPixmap(QStringLiteral(":/setup/marker-present.png")).toImage();
}

// A custom installation of the online banking alone, on a machine with the main application.
void chooseOnlyOnlineBanking(Frame& frame) {
    control<QRadioButton>(frame.page(), "id1009")->click();
    control<QCheckBox>(frame.page(), "id1003")->click();
    ASSERT_EQ(ticks(frame.page()), (std::array<bool, 3>{false, false, true}));
}

struct WizardRun {
    WizardMachine machine;
    ui::RecordingMessageSink messages;
    setup::SetupContext context{messages, machine.medium(), {}};
};

}  // namespace

TEST(WizardChoicePage, NothingInstalledOffersACompleteInstallationOfEverything) {
    WizardRun run;
    WizardMachine::setProductKey(QStringLiteral("pendra.MDE"), {}, {}, {});
    Frame frame(run.context);
    QWidget* page = frame.page();
    EXPECT_EQ(page->objectName(), QStringLiteral("id132"));
    EXPECT_TRUE(control<QRadioButton>(page, "id1008")->isChecked());
    EXPECT_FALSE(control<QRadioButton>(page, "id1014")->isEnabled());
    EXPECT_EQ(ticks(page), (std::array<bool, 3>{true, true, true}));
    EXPECT_FALSE(control<QCheckBox>(page, "id1002")->isEnabled());
    for (const char* marker : {"id1011", "id1012", "id1013"}) {
        EXPECT_FALSE(showsPresent(page, marker)) << marker;
    }
    // The missing marker of the product key, which tells the installers there is no main
    // application yet.
    EXPECT_EQ(run.context.installationDirectory, setup::RegistryKey::readFailed());
    EXPECT_TRUE(next(frame)->isEnabled());
}

TEST(WizardChoicePage, OnlyTheDatevInterfaceOffersUninstallAndTicksTheOthers) {
    WizardRun run;
    WizardMachine::setProductKey({}, {}, QStringLiteral("Ja"), QStringLiteral("Nein"));
    Frame frame(run.context);
    QWidget* page = frame.page();
    EXPECT_TRUE(showsPresent(page, "id1012"));
    EXPECT_FALSE(showsPresent(page, "id1011"));
    EXPECT_TRUE(control<QRadioButton>(page, "id1014")->isEnabled());
    EXPECT_TRUE(control<QRadioButton>(page, "id1008")->isChecked());
    EXPECT_EQ(ticks(page), (std::array<bool, 3>{true, false, true}));
}

TEST(WizardChoicePage, InstalledApplicationPreselectsUninstallAndSwitchingBackGreysTheBoxes) {
    WizardRun run;
    WizardMachine::setProductKey(QStringLiteral("Pendra.mde"), QStringLiteral("/opt/Pendra"),
                                 QStringLiteral("Nein"), QStringLiteral("Ja"));
    Frame frame(run.context);
    QWidget* page = frame.page();
    EXPECT_EQ(run.context.installationDirectory, QStringLiteral("/opt/Pendra"));
    EXPECT_TRUE(control<QRadioButton>(page, "id1014")->isChecked());
    EXPECT_TRUE(boxesEnabled(page));
    EXPECT_EQ(ticks(page), (std::array<bool, 3>{true, false, true}));
    EXPECT_TRUE(showsPresent(page, "id1011"));
    EXPECT_TRUE(showsPresent(page, "id1013"));

    control<QRadioButton>(page, "id1008")->click();
    EXPECT_FALSE(control<QCheckBox>(page, "id1003")->isEnabled());
    EXPECT_EQ(ticks(page), (std::array<bool, 3>{false, true, false}));
    EXPECT_FALSE(frame.readChoice().uninstall);
}

TEST(WizardFrame, CustomInstallationWithoutTicksStaysPut) {
    WizardRun run;
    Frame frame(run.context);
    QWidget* const choice = frame.page();
    control<QRadioButton>(choice, "id1009")->click();
    for (const char* box : {"id1002", "id1003", "id1004"}) {
        control<QCheckBox>(choice, box)->click();
    }
    next(frame)->click();
    EXPECT_EQ(frame.page(), choice);
    EXPECT_EQ(frame.wizard().step(), Step::Choice);
    EXPECT_TRUE(next(frame)->isEnabled());
    EXPECT_TRUE(run.messages.messages().empty());
}

TEST(WizardFrame, OnlyOnlineBankingCopiesItsInstallerAndGoesToItsStep) {
    WizardRun run;
    WizardMachine::setProductKey(QStringLiteral("Pendra.mde"), QStringLiteral("/opt/Mein Pendra/"),
                                 QStringLiteral("Nein"), QStringLiteral("Nein"));
    // Left behind in the temporary folder: a link that must not be written through.
    run.machine.box().writeFile(QStringLiteral("elsewhere.lst"), "untouched");
    ASSERT_TRUE(QFile::link(run.machine.box().path(QStringLiteral("elsewhere.lst")),
                            run.machine.tmp(QStringLiteral("Setup.lst"))));
    Frame frame(run.context);
    chooseOnlyOnlineBanking(frame);
    next(frame)->click();

    EXPECT_EQ(frame.wizard().step(), Step::Online);
    EXPECT_NE(qobject_cast<setup::ComponentPage*>(frame.page()), nullptr);
    EXPECT_EQ(test::readBytes(run.machine.tmp(QStringLiteral("setup.exe"))),
              "installer Onlinebanking");
    EXPECT_TRUE(QFile::exists(run.machine.tmp(QStringLiteral("Onlinebanking.CAB"))));
    EXPECT_FALSE(QFileInfo(run.machine.tmp(QStringLiteral("Setup.lst"))).isSymLink());
    EXPECT_EQ(test::readBytes(run.machine.tmp(QStringLiteral("Setup.lst"))),
              "[Setup]\r\nTitle=Pendra\r\nDefaultDir=/opt/Mein Pendra/\r\n");
    EXPECT_EQ(run.machine.box().readFile(QStringLiteral("elsewhere.lst")), "untouched");
    EXPECT_EQ(control<QLabel>(&frame, "id1007")->pixmap().toImage(),
              QPixmap(QStringLiteral(":/setup/side-online.png")).toImage());
    EXPECT_TRUE(run.messages.messages().empty());
}

TEST(WizardFrame, AFailedCopyKeepsTheStepAndTheNextPressTriesAgain) {
    WizardRun run;
    WizardMachine::setProductKey(QStringLiteral("Pendra.mde"), QStringLiteral("/opt/Pendra"),
                                 QStringLiteral("Nein"), QStringLiteral("Nein"));
    QFile::remove(run.machine.medium() + QStringLiteral("Onlinebanking/Onlinebanking.CAB"));
    Frame frame(run.context);
    QWidget* const choice = frame.page();
    chooseOnlyOnlineBanking(frame);
    next(frame)->click();
    EXPECT_EQ(run.messages.texts(),
              QStringList{QStringLiteral("Fehler beim Kopieren der Datei *.CAB")});
    EXPECT_EQ(run.messages.messages()[0].icon, ui::Icon::None);
    EXPECT_TRUE(run.messages.messages()[0].caption.isEmpty());
    EXPECT_EQ(frame.page(), choice);
    EXPECT_EQ(frame.wizard().step(), Step::Choice);
    EXPECT_TRUE(next(frame)->isEnabled());

    run.machine.addInstaller(QStringLiteral("Onlinebanking"));
    next(frame)->click();
    EXPECT_EQ(frame.wizard().step(), Step::Online);
    EXPECT_EQ(run.messages.messages().size(), 1U);
}

TEST(WizardFrame, AReadOnlyCopyFromAnEarlierRunCostsOnePressWithoutMessage) {
    WizardRun run;
    WizardMachine::setProductKey(QStringLiteral("Pendra.mde"), QStringLiteral("/opt/Pendra"),
                                 QStringLiteral("Nein"), QStringLiteral("Nein"));
    const QString old = run.machine.tmp(QStringLiteral("SETUP.EXE"));
    test::writeBytes(old, "old");
    QFile::setPermissions(old, QFile::ReadOwner);
    Frame frame(run.context);
    chooseOnlyOnlineBanking(frame);
    next(frame)->click();
    EXPECT_EQ(frame.wizard().step(), Step::Choice);
    EXPECT_TRUE(run.messages.messages().empty());

    next(frame)->click();
    EXPECT_EQ(frame.wizard().step(), Step::Online);
    EXPECT_FALSE(QFile::exists(old));
    EXPECT_TRUE(QFileInfo(run.machine.tmp(QStringLiteral("setup.exe"))).isWritable());
}

TEST(WizardFrame, AComponentWithoutTheMainApplicationIsRefused) {
    WizardRun run;
    Frame frame(run.context);
    control<QRadioButton>(frame.page(), "id1009")->click();
    control<QCheckBox>(frame.page(), "id1002")->click();
    control<QCheckBox>(frame.page(), "id1004")->click();
    next(frame)->click();
    EXPECT_EQ(run.messages.texts(), QStringList{kNotInstalledYet});
    EXPECT_EQ(frame.wizard().step(), Step::Choice);
    EXPECT_FALSE(QFile::exists(run.machine.tmp(QStringLiteral("setup.exe"))));
}

TEST(WizardFrame, CancelAsksAndNoChangesNothing) {
    WizardRun run;
    Frame frame(run.context);
    frame.show();
    QWidget* const choice = frame.page();
    control<QRadioButton>(choice, "id1009")->click();
    run.messages.answerNext(ui::Answer::No);
    control<QPushButton>(&frame, "id2")->click();
    ASSERT_EQ(run.messages.messages().size(), 1U);
    const ui::Message& question = run.messages.messages()[0];
    EXPECT_EQ(question.text, QStringLiteral("PENDRA Setup wirklich abbrechen?"));
    EXPECT_EQ(question.caption, QStringLiteral("Abbrechen?"));
    EXPECT_EQ(question.buttons, ui::Buttons::YesNo);
    EXPECT_EQ(question.icon, ui::Icon::Question);
    EXPECT_TRUE(frame.isVisible());
    EXPECT_EQ(frame.page(), choice);
    EXPECT_TRUE(control<QRadioButton>(choice, "id1009")->isChecked());

    run.messages.answerNext(ui::Answer::Yes);
    control<QPushButton>(&frame, "id2")->click();
    EXPECT_FALSE(frame.isVisible());
    EXPECT_EQ(frame.result(), QDialog::Rejected);
    EXPECT_EQ(frame.page(), nullptr);
}

TEST(WizardFrame, DraggingTheHeaderMovesTheFrameWithItsPage) {
    WizardRun run;
    Frame frame(run.context);
    frame.move(100, 100);
    frame.show();
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("PENDRA Setup"));
    EXPECT_TRUE(frame.windowFlags() & Qt::FramelessWindowHint);
    const QPoint pageBefore = frame.page()->mapToGlobal(QPoint(0, 0));
    auto* header = control<QLabel>(&frame, "header");
    const QPoint grip(40, 30);
    const auto send = [header, grip](QEvent::Type type, QPoint offset, Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(grip + offset), QPointF(header->mapToGlobal(grip) + offset),
                          Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(header, &event);
    };
    send(QEvent::MouseButtonPress, {}, Qt::LeftButton);
    send(QEvent::MouseMove, {50, 20}, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, {50, 20}, Qt::NoButton);
    EXPECT_EQ(frame.pos(), QPoint(150, 120));
    EXPECT_EQ(frame.page()->mapToGlobal(QPoint(0, 0)), pageBefore + QPoint(50, 20));
}

TEST(WizardFrame, TheFinishPageCreatesTheDataSourceThenOffersBeenden) {
    const test::DemoMachine demo;
    demo.writeFile(QStringLiteral("odbc/odbc.ini"), {});
    const test::ScopedEnv userIni("ODBCINI", demo.path(QStringLiteral("user-odbc.ini")));
    ui::RecordingMessageSink messages;
    setup::SetupContext context{messages, demo.path(QStringLiteral("medium/")), {}};
    Frame frame(context);
    context.installationDirectory = demo.path(QStringLiteral("Neu")) + QLatin1Char('/');
    frame.showPage(Page::Finish);
    EXPECT_EQ(frame.page()->objectName(), QStringLiteral("id137"));
    EXPECT_TRUE(next(frame)->isEnabled());
    EXPECT_EQ(next(frame)->text(), QStringLiteral("Beenden"));
    const QString systemIni = QString::fromLatin1(demo.readFile(QStringLiteral("odbc/odbc.ini")));
    EXPECT_TRUE(systemIni.contains(QStringLiteral("[Pendra_DB]")));
    EXPECT_TRUE(systemIni.contains(QStringLiteral("/Neu//pendra/pendra.mde")))
        << systemIni.toStdString();
    EXPECT_TRUE(messages.messages().empty());
}

TEST(WizardSteps, FollowTheTableFromChoiceToFinish) {
    struct Case {
        setup::ChoiceFlags choice;
        std::vector<Page> pages;
    };
    const Case cases[] = {
        {{false, false, true, false}, {Page::Online, Page::Finish}},
        {{true, true, true, true}, {Page::Uninstall, Page::Finish}},
        {{true, false, true, false},
         {Page::Folder, Page::MainInstallation, Page::Online, Page::Finish}},
        {{false, true, false, false}, {Page::Datev, Page::Finish}},
    };
    for (const Case& c : cases) {
        WizardMachine machine;
        ui::RecordingMessageSink messages;
        setup::SetupContext context{messages, machine.medium(), QStringLiteral("/opt/Pendra/")};
        RecordingView view;
        view.choice = c.choice;
        setup::Wizard wizard(context, view);
        for (std::size_t i = 0; i <= c.pages.size(); ++i) {
            wizard.next();
        }
        EXPECT_EQ(view.pages, c.pages);
        EXPECT_TRUE(view.finished);
        EXPECT_TRUE(messages.messages().empty());
    }
}

TEST(WizardSteps, TheMainInstallationCopiesTheSettingsEditorsInstaller) {
    WizardMachine machine;
    ui::RecordingMessageSink messages;
    setup::SetupContext context{messages, machine.medium(), QStringLiteral("/opt/Pendra/")};
    RecordingView view;
    view.choice = {true, false, false, false};
    setup::Wizard wizard(context, view);
    wizard.next();
    wizard.next();
    EXPECT_EQ(wizard.step(), Step::MainInstallation);
    EXPECT_TRUE(QFile::exists(machine.tmp(QStringLiteral("PendraIni.CAB"))));
}

TEST(GermanTranslation, StandardButtonsReadGerman) {
    ASSERT_TRUE(ui::installGermanTranslation(*qApp));
    QDialogButtonBox buttons(QDialogButtonBox::Yes | QDialogButtonBox::No |
                             QDialogButtonBox::Cancel);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Yes)->text().remove(QLatin1Char('&')),
              QStringLiteral("Ja"));
    EXPECT_EQ(buttons.button(QDialogButtonBox::No)->text().remove(QLatin1Char('&')),
              QStringLiteral("Nein"));
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text().remove(QLatin1Char('&')),
              QStringLiteral("Abbrechen"));
}
