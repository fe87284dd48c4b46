#include "settings_editor/datev_settings.h"
#include "settings_editor/editor_test.h"
#include "support/sandbox.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace pendra;
using namespace pendra::settings_editor;
using pendra::test::editorIn;
using pendra::test::Sandbox;

namespace {

const QString kNoFolderPrefix =
    QStringLiteral("Das Datev-Verzeichnis ist in der Datei Pendra.ini nicht eingetragen.");

}  // namespace

TEST(EditorDatev, CutAtStopKeepsWhatStandsBeforeTheFirstStopCharacter) {
    EXPECT_EQ(cutAtStop(QStringLiteral("4711;Kommentar"), QStringLiteral(";")),
              QStringLiteral("4711"));
    EXPECT_EQ(cutAtStop(QStringLiteral("12345 ;Kanzlei"), QStringLiteral("; ")),
              QStringLiteral("12345"));
    EXPECT_EQ(cutAtStop(QStringLiteral("678 90;x"), QStringLiteral(";")), QStringLiteral("678 90"));
    EXPECT_EQ(cutAtStop(QStringLiteral("ohne"), QStringLiteral(";")), QStringLiteral("ohne"));
    EXPECT_EQ(cutAtStop(QStringLiteral(";"), QStringLiteral(";")), QString());
}

TEST(EditorDatev, TheFolderIsTheKeyDatevUnlessItHoldsTheSwitchThenDatevPath) {
    const struct {
        QByteArray datev;
        QByteArray datevPath;
        QString folder;
    } cases[] = {{"/srv/datev", "/opt/Pendra/Datev/", QStringLiteral("/srv/datev")},
                 {"Ja", "/opt/Pendra/Datev/", QStringLiteral("/opt/Pendra/Datev/")},
                 {"ja", "/opt/Pendra/Datev/", QStringLiteral("/opt/Pendra/Datev/")},
                 {"Nein", "/opt/Pendra/Datev/", QStringLiteral("/opt/Pendra/Datev/")},
                 {"NEIN", "/opt/Pendra/Datev/", QStringLiteral("/opt/Pendra/Datev/")},
                 {"", "/opt/Pendra/Datev/", QStringLiteral("/opt/Pendra/Datev/")},
                 {"Ja", "", QString()}};
    for (const auto& c : cases) {
        const Sandbox box;
        box.writeFile(QStringLiteral("Pendra.ini"),
                      "[DATEV]\r\nDatev=" + c.datev + "\r\nDatev_Path=" + c.datevPath + "\r\n");
        ui::RecordingMessageSink messages;
        EXPECT_EQ(damoFolder(messages, box.path(QStringLiteral("Pendra.ini"))), c.folder)
            << c.datev.constData();
    }
}

TEST(EditorDatev, LoadCutsTheDamoValuesAndAcceptWritesTheFileWhateverTheCaseOfItsName) {
    const Sandbox box;
    box.writeFile(QStringLiteral("Pendra.ini"), "[Datev]\r\ndatev=Ja\r\ndatev_Path=" +
                                                    box.path(QStringLiteral("datev")).toUtf8() +
                                                    "\r\nWken=1;EUR\r\n");
    box.writeFile(QStringLiteral("datev/DAMO32.INI"),
                  "[Einstellungen]\r\nAusgabepfad=/srv/ausgabe;alt\r\n"
                  "[Datev-Vorlauf]\r\nBerater=12345 ;Kanzlei\r\nMandant=678 90;x\r\n");
    ui::RecordingMessageSink messages;
    const auto context = editorIn(messages, box.path());

    const DatevFields loaded = loadDatev(context);
    EXPECT_EQ(loaded.NrBerater, QStringLiteral("12345"));
    EXPECT_EQ(loaded.NrMandant, QStringLiteral("678 90"));
    EXPECT_EQ(loaded.AusgPath, QStringLiteral("/srv/ausgabe"));
    EXPECT_EQ(loaded.Waehrung, QStringLiteral("1;EUR"));

    EXPECT_TRUE(acceptDatev(context, loaded));
    EXPECT_EQ(box.readFile(QStringLiteral("datev/DAMO32.INI")),
              "[Einstellungen]\r\nAusgabepfad=/srv/ausgabe\r\n"
              "[Datev-Vorlauf]\r\nBerater=12345\r\nMandant=678 90\r\n");
    EXPECT_EQ(QDir(box.path(QStringLiteral("datev"))).entryList(QDir::Files),
              QStringList{QStringLiteral("DAMO32.INI")});
    EXPECT_TRUE(box.readFile(QStringLiteral("Pendra.ini")).endsWith("\r\nWken=1;EUR\r\n"));

    EXPECT_TRUE(acceptDatev(context, DatevFields{}));
    EXPECT_EQ(box.readFile(QStringLiteral("datev/DAMO32.INI")),
              "[Einstellungen]\r\nAusgabepfad=\r\n[Datev-Vorlauf]\r\nBerater=\r\nMandant=\r\n");
    EXPECT_EQ(messages.texts(),
              QStringList(2, QStringLiteral("Daten wurden in die Datei Damo32.ini übernommen")));
}

TEST(EditorDatev, WithoutADatevFolderNoDamoFileIsTouchedButTheCurrencyIsSaved) {
    const Sandbox box;
    const QByteArray settings = "[Datev]\r\nDatev=Ja\r\ndatev_Path=\r\nWken=1\r\n";
    box.writeFile(QStringLiteral("Pendra.ini"), settings);
    box.writeFile(QStringLiteral("Ja/Damo32.ini"), "[Datev-Vorlauf]\r\nBerater=999\r\n");
    const QString oldCurrent = QDir::currentPath();
    QDir::setCurrent(box.path());
    ui::RecordingMessageSink messages;
    const auto context = editorIn(messages, box.path());

    const DatevFields loaded = loadDatev(context);
    EXPECT_EQ(loaded.NrBerater, QString());
    EXPECT_EQ(loaded.Waehrung, QStringLiteral("1"));
    EXPECT_FALSE(acceptDatev(context, {QStringLiteral("1"), QStringLiteral("2"),
                                       QStringLiteral("/a"), QStringLiteral("3")}));
    QDir::setCurrent(oldCurrent);

    EXPECT_EQ(box.readFile(QStringLiteral("Pendra.ini")),
              "[Datev]\r\nDatev=Ja\r\ndatev_Path=\r\nWken=3\r\n");
    EXPECT_EQ(box.readFile(QStringLiteral("Ja/Damo32.ini")), "[Datev-Vorlauf]\r\nBerater=999\r\n");
    EXPECT_FALSE(QFile::exists(box.path(QStringLiteral("Damo32.ini"))));
    EXPECT_FALSE(QFile::exists(QStringLiteral("/Damo32.ini")));
    ASSERT_EQ(messages.texts().size(), 2);
    EXPECT_TRUE(messages.texts()[0].startsWith(kNoFolderPrefix));
    EXPECT_TRUE(messages.texts()[1].endsWith(
        QStringLiteral("Die Datei Damo32.ini wird nicht geschrieben.")));
}

TEST(EditorDatev, FailuresAreReportedAndNothingAfterAFailedWriteIsWritten) {
    const Sandbox box;
    const QByteArray settings =
        "[Datev]\r\ndatev=" + box.path(QStringLiteral("fehlt")).toUtf8() + "\r\nWken=1\r\n";
    box.writeFile(QStringLiteral("Pendra.ini"), settings);
    ui::RecordingMessageSink messages;
    EXPECT_FALSE(acceptDatev(editorIn(messages, box.path()),
                             {QString(), QString(), QString(), QStringLiteral("2")}));
    EXPECT_EQ(box.readFile(QStringLiteral("Pendra.ini")), settings);
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_TRUE(messages.texts()[0].contains(box.path(QStringLiteral("fehlt/Damo32.ini"))));

    messages.clear();
    EXPECT_EQ(loadDatev(editorIn(messages, QString())).Waehrung, QString());
    EXPECT_TRUE(acceptDatev(editorIn(messages, QString()), DatevFields{}));
    EXPECT_EQ(messages.texts(),
              QStringList(2, QStringLiteral("Fehler beim Ermitteln der Datei Pendra.ini")));
}
