#include "settings_editor/editor_test.h"
#include "settings_editor/gui/StartForm.h"
#include "support/sandbox.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace pendra;
using namespace pendra::settings_editor;
using pendra::settings_editor::StartForm;
using pendra::test::editorIn;
using pendra::test::Sandbox;

namespace {

QAction* menuEntry(QWidget& start, const char* name, int index) {
    for (QAction* entry : start.findChildren<QAction*>(QString::fromLatin1(name))) {
        if (entry->property("index").toInt() == index) {
            return entry;
        }
    }
    ADD_FAILURE() << "no menu entry " << name << "(" << index << ")";
    return nullptr;
}

// The settings forms are windows of their own beside the start form.
QWidget* form(const char* name) {
    QWidget* found = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == QLatin1String(name)) {
            EXPECT_EQ(found, nullptr) << "two forms " << name;
            found = window;
        }
    }
    return found;
}

QLineEdit* textBox(QWidget* form, const char* name) {
    auto* edit = form->findChild<QLineEdit*>(QString::fromLatin1(name));
    if (edit == nullptr) {
        ADD_FAILURE() << "no text box " << name;
    }
    return edit;
}

void click(QWidget* form, const char* name) {
    form->findChild<QPushButton*>(QString::fromLatin1(name))->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Reads the settings file at the moment a form of that name is shown.
class ShowWatcher : public QObject {
public:
    ShowWatcher(QString formName, QString file) : name_(std::move(formName)), file_(file) {
        qApp->installEventFilter(this);
    }
    ~ShowWatcher() override { qApp->removeEventFilter(this); }
    QByteArray seen;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->objectName() == name_ && seen.isNull()) {
            QFile file(file_);
            seen = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("");
        }
        return false;
    }

private:
    QString name_;
    QString file_;
};

}  // namespace

TEST(EditorForms, CreatesAMissingSettingsFileEmptyAndLeavesAnExistingOneByteForByte) {
    const Sandbox box;
    ui::RecordingMessageSink messages;
    {
        const StartForm start(editorIn(messages, box.path()));
        EXPECT_EQ(box.readFile(QStringLiteral("Pendra.ini")), QByteArray());
    }
    const QByteArray odd = "; Kommentar\n[x]\r\nkein ini \xFC\r\n  ";
    box.writeFile(QStringLiteral("Pendra.ini"), odd);
    StartForm start(editorIn(messages, box.path()));
    EXPECT_EQ(box.readFile(QStringLiteral("Pendra.ini")), odd);
    EXPECT_TRUE(messages.messages().empty());

    EXPECT_EQ(start.objectName(), QStringLiteral("frmStart"));
    EXPECT_EQ(start.windowTitle(), QStringLiteral("Pendra_init"));
    EXPECT_EQ(start.findChild<QLabel*>(QStringLiteral("Label1"))->text(),
              QStringLiteral("Konfiguerien und updaten der Datei Pendra.ini"));
    EXPECT_FALSE(start.findChild<QLabel*>(QStringLiteral("Image1"))->pixmap().isNull());
    EXPECT_EQ(start.findChild<QPushButton*>(QStringLiteral("cmdstop"))->text(),
              QStringLiteral("Stop"));
    QStringList titles;
    for (const QMenu* menu : start.findChildren<QMenu*>(QStringLiteral("mnumain"))) {
        titles << menu->title() + QString::number(menu->property("index").toInt());
    }
    EXPECT_EQ(titles, (QStringList{QStringLiteral("&Pendra0"), QStringLiteral("&Datev1")}));
    EXPECT_EQ(menuEntry(start, "mnuPnd", 0)->text(), QStringLiteral("&Initialisieren"));
    EXPECT_EQ(menuEntry(start, "mnuPnd", 1)->text(), QStringLiteral("&Bearbeiten"));
    EXPECT_EQ(menuEntry(start, "mnuDatev", 0)->text(), QStringLiteral("&Bearbeiten"));
}

TEST(EditorForms, InAFolderTooLongForItsBufferReportsItAndCreatesNothing) {
    const Sandbox box;
    const QString deep = box.path(QString(120, QLatin1Char('a')) + QLatin1Char('/') +
                                  QString(140, QLatin1Char('b')));
    ASSERT_TRUE(QDir().mkpath(deep));
    const QString oldCurrent = QDir::currentPath();
    QDir::setCurrent(deep);
    ui::RecordingMessageSink messages;
    { const StartForm start({messages, settings_editor::processWorkingFolder()}); }
    QDir::setCurrent(oldCurrent);
    EXPECT_FALSE(QFile::exists(deep + QStringLiteral("/Pendra.ini")));
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("Fehler beim Ermitteln des Current-Directories")});
}

TEST(EditorForms, InitialiseWritesTheDefaultsBeforeShowingAndCancelKeepsThem) {
    const Sandbox box;
    ui::RecordingMessageSink messages;
    StartForm start(editorIn(messages, box.path()));
    start.show();
    const ShowWatcher watcher(QStringLiteral("frmPendraIni"),
                              box.path(QStringLiteral("Pendra.ini")));

    menuEntry(start, "mnuPnd", 0)->trigger();
    QPointer<QWidget> settings = form("frmPendraIni");
    ASSERT_NE(settings, nullptr);
    EXPECT_TRUE(watcher.seen.contains("\r\nAnwendung=Pendra_mdb\r\n")) << watcher.seen.data();
    EXPECT_TRUE(watcher.seen.contains("\r\nRePath=" + box.path().toUtf8() + "/EDI\r\n"));
    EXPECT_TRUE(settings->isVisible());
    EXPECT_FALSE(start.isVisible());
    EXPECT_EQ(textBox(settings, "AnwName")->text(), QStringLiteral("Pendra_mde"));
    EXPECT_EQ(textBox(settings, "AnwPfad")->text(), box.path());

    click(settings, "Abbr");
    QCoreApplication::processEvents();
    EXPECT_TRUE(settings.isNull());
    EXPECT_TRUE(start.isVisible());
    EXPECT_EQ(QApplication::activeWindow(), &start);
    const QByteArray file = box.readFile(QStringLiteral("Pendra.ini"));
    EXPECT_TRUE(file.contains("\r\nAnwendung=Pendra_mdb\r\n"));
    EXPECT_TRUE(file.contains("\r\nWken=0\r\n"));
    EXPECT_TRUE(messages.messages().empty());
}

TEST(EditorForms, InitialiseThenAcceptWritesTheFieldsAndReopeningStartsEmpty) {
    const Sandbox box;
    ui::RecordingMessageSink messages;
    StartForm start(editorIn(messages, box.path()));
    start.show();
    menuEntry(start, "mnuPnd", 0)->trigger();
    QWidget* settings = form("frmPendraIni");
    textBox(settings, "Label")->setText(QStringLiteral("Muster GmbH"));

    click(settings, "UeberNahme");
    EXPECT_EQ(form("frmPendraIni"), nullptr);
    EXPECT_TRUE(start.isVisible());
    const QByteArray file = box.readFile(QStringLiteral("Pendra.ini"));
    EXPECT_TRUE(file.contains("\r\nAnwendung=Pendra_mde\r\n"));
    EXPECT_TRUE(file.contains("\r\nDatev=Ja\r\n"));
    EXPECT_TRUE(file.contains("\r\nWken=\r\n"));
    EXPECT_TRUE(file.contains("[Online]\r\nOnline=Ja\r\nProg=\r\n"));
    EXPECT_TRUE(file.endsWith("[LABEL]\r\nFirma=Muster GmbH\r\n"));
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("Daten wurden in die Datei Pendra.ini übernommen")});

    // Initialising leaves the label field alone, so a reused form would still show it.
    menuEntry(start, "mnuPnd", 0)->trigger();
    EXPECT_EQ(textBox(form("frmPendraIni"), "Label")->text(), QString());
}

TEST(EditorForms, EditRefillsTheOneOpenFormFromTheFileAndCutsLongValues) {
    const Sandbox box;
    box.writeFile(QStringLiteral("Pendra.ini"),
                  "[LABEL]\r\nFirma=" + QByteArray(300, 'F') +
                      "\r\n[Datev]\r\nDatev=Nein\r\ndatev_Path=/opt/Datev\r\nWken=1\r\n");
    ui::RecordingMessageSink messages;
    StartForm start(editorIn(messages, box.path()));
    start.show();
    menuEntry(start, "mnuPnd", 1)->trigger();
    QWidget* settings = form("frmPendraIni");
    EXPECT_TRUE(start.isVisible());
    EXPECT_EQ(textBox(settings, "Label")->text(), QString(249, QLatin1Char('F')));
    EXPECT_EQ(textBox(settings, "DatevPath")->text(), QString());
    EXPECT_EQ(textBox(settings, "WKen")->text(), QString());

    textBox(settings, "Label")->setText(QStringLiteral("getippt"));
    menuEntry(start, "mnuPnd", 1)->trigger();
    EXPECT_NE(form("frmPendraIni"), nullptr);  // and no second one
    EXPECT_EQ(textBox(settings, "Label")->text(), QString(249, QLatin1Char('F')));

    click(settings, "UeberNahme");
    const QByteArray file = box.readFile(QStringLiteral("Pendra.ini"));
    EXPECT_TRUE(file.startsWith("[LABEL]\r\nFirma=" + QByteArray(249, 'F') + "\r\n"));
    EXPECT_TRUE(file.contains("[Datev]\r\nDatev=Ja\r\ndatev_Path=\r\nWken=\r\n"));
}

TEST(EditorForms, DatevFormCutsItsValuesWritesDamoAndIsBroughtToFrontWithoutReloading) {
    const Sandbox box;
    box.writeFile(QStringLiteral("Pendra.ini"), "[Datev]\r\ndatev=Ja\r\ndatev_Path=" +
                                                    box.path(QStringLiteral("Datev")).toUtf8() +
                                                    "\r\nWken=1\r\n");
    box.writeFile(QStringLiteral("Datev/damo32.ini"),
                  "[Datev-Vorlauf]\r\nBerater=12345 ;Kanzlei\r\nMandant=678 90;x\r\n");
    ui::RecordingMessageSink messages;
    StartForm start(editorIn(messages, box.path()));
    start.show();
    menuEntry(start, "mnuDatev", 0)->trigger();
    QWidget* datev = form("frmDatev");
    EXPECT_TRUE(datev->isVisible());
    EXPECT_TRUE(start.isVisible());
    EXPECT_EQ(textBox(datev, "NrBerater")->text(), QStringLiteral("12345"));
    EXPECT_EQ(textBox(datev, "NrMandant")->text(), QStringLiteral("678 90"));
    EXPECT_EQ(textBox(datev, "Waehrung")->text(), QStringLiteral("1"));

    textBox(datev, "NrMandant")->setText(QStringLiteral("4711"));
    menuEntry(start, "mnuDatev", 0)->trigger();
    EXPECT_EQ(form("frmDatev"), datev);
    EXPECT_EQ(textBox(datev, "NrMandant")->text(), QStringLiteral("4711"));

    click(datev, "DatevUbern");
    EXPECT_EQ(form("frmDatev"), nullptr);
    EXPECT_EQ(box.readFile(QStringLiteral("Datev/damo32.ini")),
              "[Datev-Vorlauf]\r\nBerater=12345\r\nMandant=4711\r\n[Einstellungen]\r\n"
              "Ausgabepfad=\r\n");
    EXPECT_EQ(QDir(box.path(QStringLiteral("Datev"))).entryList(QDir::Files).size(), 1);
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("Daten wurden in die Datei Damo32.ini übernommen")});
}

TEST(EditorForms, StopEndsWithoutWritingAndClosingASettingsFormByItsFrameCancels) {
    const Sandbox box;
    box.writeFile(QStringLiteral("Pendra.ini"), "[LABEL]\r\nFirma=Alt\r\n[Datev]\r\ndatev=/x\r\n");
    ui::RecordingMessageSink messages;
    StartForm start(editorIn(messages, box.path()));
    int stopped = 0;
    QObject::connect(&start, &StartForm::stopRequested, [&stopped] { ++stopped; });
    start.show();

    menuEntry(start, "mnuPnd", 0)->trigger();
    QPointer<QWidget> settings = form("frmPendraIni");
    textBox(settings, "Label")->setText(QStringLiteral("Neu"));
    settings->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(settings.isNull());
    EXPECT_TRUE(start.isVisible());
    const QByteArray initialised = box.readFile(QStringLiteral("Pendra.ini"));

    menuEntry(start, "mnuPnd", 1)->trigger();
    menuEntry(start, "mnuDatev", 0)->trigger();
    settings = form("frmPendraIni");
    QPointer<QWidget> datev = form("frmDatev");
    textBox(settings, "Label")->setText(QStringLiteral("Neu"));
    textBox(datev, "Waehrung")->setText(QStringLiteral("9"));
    click(&start, "cmdstop");

    EXPECT_EQ(stopped, 1);
    EXPECT_TRUE(settings.isNull());
    EXPECT_TRUE(datev.isNull());
    EXPECT_EQ(box.readFile(QStringLiteral("Pendra.ini")), initialised);
    EXPECT_TRUE(initialised.startsWith("[LABEL]\r\nFirma=Alt\r\n"));
}

TEST(EditorForms, ClosingTheStartFormKeepsAnOpenSettingsWindowAndItsEdits) {
    const Sandbox box;
    ui::RecordingMessageSink messages;
    StartForm start(editorIn(messages, box.path()));
    int stopped = 0;
    QObject::connect(&start, &StartForm::stopRequested, [&stopped] { ++stopped; });
    start.show();
    menuEntry(start, "mnuPnd", 1)->trigger();
    QPointer<QWidget> settings = form("frmPendraIni");
    EXPECT_EQ(settings->parentWidget(), nullptr) << "a child stays above the start form";
    textBox(settings, "Label")->setText(QStringLiteral("Ungespeichert"));

    start.close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(stopped, 0);
    ASSERT_FALSE(settings.isNull());
    EXPECT_EQ(textBox(settings, "Label")->text(), QStringLiteral("Ungespeichert"));

    click(settings, "Abbr");
    EXPECT_TRUE(start.isVisible());
    start.close();
    EXPECT_EQ(stopped, 1);
}

TEST(EditorForms, EveryFormShowsItsTextsWholeAndDatevKeepsItsFocusOrder) {
    const Sandbox box;
    ui::RecordingMessageSink messages;
    StartForm start(editorIn(messages, box.path()));
    start.show();
    menuEntry(start, "mnuPnd", 1)->trigger();
    menuEntry(start, "mnuDatev", 0)->trigger();
    QWidget* datev = form("frmDatev");
    for (QWidget* window : {static_cast<QWidget*>(&start), form("frmPendraIni"), datev}) {
        for (const QLabel* label : window->findChildren<QLabel*>()) {
            if (label->hasScaledContents()) {
                continue;  // the logo, stretched to its frame
            }
            const bool fits = label->wordWrap()
                                  ? label->heightForWidth(label->width()) <= label->height()
                                  : label->width() >= label->sizeHint().width() &&
                                        label->height() >= label->sizeHint().height();
            EXPECT_TRUE(fits) << label->objectName().toStdString();
        }
        for (const QPushButton* button : window->findChildren<QPushButton*>()) {
            EXPECT_GE(button->width(), button->sizeHint().width())
                << button->objectName().toStdString();
        }
    }
    const QLineEdit* notice = start.findChild<QLineEdit*>(QStringLiteral("Text1"));
    EXPECT_LE(notice->fontMetrics().horizontalAdvance(notice->text()) + 8, notice->width());

    QStringList order;
    QWidget* next = textBox(datev, "NrBerater");
    for (int i = 0; i < 6; ++i, next = next->nextInFocusChain()) {
        while (next->focusPolicy() == Qt::NoFocus) {
            next = next->nextInFocusChain();
        }
        order << next->objectName();
    }
    EXPECT_EQ(order, (QStringList{QStringLiteral("NrBerater"), QStringLiteral("NrMandant"),
                                  QStringLiteral("AusgPath"), QStringLiteral("DatevUbern"),
                                  QStringLiteral("DatevAbbr"), QStringLiteral("Waehrung")}));
}
