#include "transfer/gui/StartForm.h"
#include "support/demo_machine.h"
#include "ui/recording_message_sink.h"

#include <QAction>
#include <QDir>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

using pendra::test::DemoMachine;
using pendra::test::ScopedEnv;
using pendra::transfer::StartForm;
using pendra::ui::RecordingMessageSink;

namespace {

QAction* entry(const StartForm& form, const char* name) {
    return form.findChild<QAction*>(QString::fromLatin1(name));
}

}  // namespace

TEST(TransferStartForm, CarriesItsControlsUnderTheirNames) {
    RecordingMessageSink messages;
    const StartForm form(messages);
    EXPECT_EQ(form.objectName(), QStringLiteral("frmStart"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("DATEV-Schnittstelle"));
    EXPECT_EQ(form.findChild<QPushButton*>(QStringLiteral("cmdstop"))->text(),
              QStringLiteral("Stop"));
    ASSERT_NE(form.findChild<QLineEdit*>(QStringLiteral("Text1")), nullptr);
    const auto* image = form.findChild<QLabel*>(QStringLiteral("Image1"));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->pixmap().size(), QSize(378, 378));
    const auto* label = form.findChild<QLabel*>(QStringLiteral("Label1"));
    EXPECT_EQ(
        label->text(),
        QStringLiteral("Erzeugen der Schnittstellendateien für den Datentransfer nach Datev"));
    EXPECT_EQ(label->font().family(), QStringLiteral("Arial"));
    EXPECT_EQ(QFontInfo(label->font()).family(), QStringLiteral("Liberation Sans"));

    // The menus stand on the menu bar in this order, each with its one entry.
    const struct {
        const char* name;
        const char* title;
        const char* entry;
        const char* entryText;
    } menus[] = {{"BwDaten", "&Buchungssätze", "BwOutp", "&Ausspielen"},
                 {"StDaten", "&Stammdaten", "StammOutp", "&Ausspielen"},
                 {"KtDaten", "&Kontenbeschriftungen", "Kontenoutp", "&Auspielen"}};
    const QList<QAction*> bar = form.menuBar()->actions();
    ASSERT_EQ(bar.size(), std::size(menus));
    for (qsizetype i = 0; i < bar.size(); ++i) {
        const auto& expected = menus[i];
        const QMenu* menu = bar[i]->menu();
        ASSERT_NE(menu, nullptr) << expected.name;
        EXPECT_EQ(menu->objectName(), QString::fromLatin1(expected.name));
        EXPECT_EQ(menu->title(), QString::fromUtf8(expected.title));
        EXPECT_EQ(menu->actions(), QList<QAction*>{entry(form, expected.entry)}) << expected.name;
        EXPECT_EQ(menu->actions().value(0)->text(), QString::fromUtf8(expected.entryText));
    }
}

TEST(TransferStartForm, EachMenuEntryRunsItsCommandOnTheDemoMachine) {
    const DemoMachine machine(DemoMachine::Data::Demo);
    RecordingMessageSink messages;
    StartForm form(messages);

    entry(form, "StammOutp")->trigger();
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral(
                  "Es wurden 9 Stammdaten ausgespielt und als gebucht gekennzeichnet")});
    messages.clear();

    entry(form, "Kontenoutp")->trigger();
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("Es wurden 11 Kontenbeschriftungen ausgespielt")});
    messages.clear();

    entry(form, "BwOutp")->trigger();
    ASSERT_EQ(messages.texts().size(), 7);
    EXPECT_TRUE(messages.texts().first().startsWith(QStringLiteral("Es wurden ")));
    EXPECT_TRUE(messages.texts().last().startsWith(QStringLiteral("Es wurden insgesamt ")));
    EXPECT_FALSE(form.isBusy());
    EXPECT_TRUE(form.menuBar()->isEnabled());
}

TEST(TransferStartForm, AHandlerCalledWithAnotherIndexDoesNothing) {
    const DemoMachine machine(DemoMachine::Data::Demo);
    RecordingMessageSink messages;
    StartForm form(messages);
    form.BwOutp_Click(1);
    form.StammOutp_Click(1);
    form.Kontenoutp_Click(1);
    EXPECT_TRUE(messages.messages().empty());
    EXPECT_TRUE(QDir(machine.tmpFolder()).isEmpty());
}

TEST(TransferStartForm, StopEndsTheProgram) {
    RecordingMessageSink messages;
    StartForm form(messages);
    int stops = 0;
    QObject::connect(&form, &StartForm::stopRequested, [&stops] { ++stops; });
    form.findChild<QPushButton*>(QStringLiteral("cmdstop"))->click();
    EXPECT_EQ(stops, 1);
    EXPECT_TRUE(messages.messages().empty());
}

TEST(TransferStartForm, AFailingDatabaseShowsOneMessageAndTheWindowStaysUsable) {
    const DemoMachine machine(DemoMachine::Data::Demo);
    const QString database = machine.database();
    ASSERT_TRUE(QFile::rename(database, database + QStringLiteral(".weg")));
    RecordingMessageSink messages;
    StartForm form(messages);
    entry(form, "BwOutp")->trigger();
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].icon, pendra::ui::Icon::Critical);
    EXPECT_TRUE(messages.texts()[0].contains(QStringLiteral("Datenbankfehler")))
        << messages.texts()[0].toStdString();
    EXPECT_TRUE(form.menuBar()->isEnabled());

    ASSERT_TRUE(QFile::rename(database + QStringLiteral(".weg"), database));
    messages.clear();
    entry(form, "StammOutp")->trigger();
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral(
                  "Es wurden 9 Stammdaten ausgespielt und als gebucht gekennzeichnet")});
}

TEST(TransferStartForm, WhileTheConverterRunsNoSecondCommandStarts) {
    const DemoMachine machine(DemoMachine::Data::Demo);
    const ScopedEnv slow("PENDRA_DAMO_DELAY_MS", QStringLiteral("800"));
    RecordingMessageSink messages;
    StartForm form(messages);
    bool busyMeanwhile = false;
    bool menuMeanwhile = true;
    QTimer::singleShot(300, &form, [&] {
        busyMeanwhile = form.isBusy();
        menuMeanwhile = form.menuBar()->isEnabled();
        entry(form, "Kontenoutp")->trigger();
        form.StammOutp_Click(0);
    });
    entry(form, "StammOutp")->trigger();
    EXPECT_TRUE(busyMeanwhile);
    EXPECT_FALSE(menuMeanwhile);
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral(
                  "Es wurden 9 Stammdaten ausgespielt und als gebucht gekennzeichnet")});
    EXPECT_FALSE(QFile::exists(machine.path(QStringLiteral("tmp/FIBU-ST-OBE.txt"))));
}

TEST(TransferStartForm, RendersAsAFinishedWindow) {
    RecordingMessageSink messages;
    StartForm form(messages);
    form.resize(form.sizeHint());
    const QImage picture = form.grab().toImage();
    ASSERT_FALSE(picture.isNull());
    const auto* label = form.findChild<QLabel*>(QStringLiteral("Label1"));
    EXPECT_GE(label->height(), label->heightForWidth(label->width()));
    const auto* notice = form.findChild<QLineEdit*>(QStringLiteral("Text1"));
    EXPECT_LE(notice->fontMetrics().horizontalAdvance(notice->text()),
              notice->contentsRect().width() - 8);
    const QString folder = qEnvironmentVariable("PENDRA_SCREENSHOT_DIR");
    if (!folder.isEmpty()) {
        EXPECT_TRUE(picture.save(QDir(folder).filePath(QStringLiteral("transfer-start.png"))));
    }
}
