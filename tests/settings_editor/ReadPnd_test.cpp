#include "settings_editor/ReadPnd.h"
#include "platform/registry_store.h"
#include "settings_editor/editor_test.h"
#include "support/sandbox.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace pendra;
using namespace pendra::settings_editor;
using pendra::settings_editor::ReadPnd::PendraIniFields;
using pendra::test::editorIn;
using pendra::test::Sandbox;

namespace {

const QString kWordKey =
    QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Winword.exe");

void registerWord(const QString& folder) {
    auto store = platform::RegistryStore::system();
    ASSERT_TRUE(store.createKey(kWordKey).ok());
    ASSERT_TRUE(
        store.setValue(kWordKey, QStringLiteral("Path"), platform::RegValue::fromText(folder))
            .ok());
}

// What the setup leaves behind: the DATEV and online-banking switches off.
const QByteArray kSetupFile =
    "[Pendra_Path]\r\nPendra=/opt/Pendra/\r\nAnwendung=Pendra.mde\r\nDb=/opt/Pendra/Tabellen/\r\n"
    "DbName=Pendra_db.mdb\r\nErstaufruf=Ja\r\n[Datev]\r\nDatev_Path=/opt/Pendra/Datev/\r\n"
    "Datev=Nein\r\nWken=1\r\n[tmp_Path]\r\ntmp=/opt/Pendra/tmp\r\n[office]\r\nword=\r\n"
    "[Vorlagen]\r\nPath=/opt/Pendra/Vorlagen\r\nfax=/opt/Pendra/Vorlagen/fax.doc\r\n"
    "brief=/opt/Pendra/Vorlagen/brief.doc\r\nVorlagen=/opt/Pendra/Vorlagen\r\n"
    "[Online]\r\nOnline=Nein\r\nProg=\r\n[EDI]\r\nRePath=\r\n";

}  // namespace

TEST(EditorReadPnd, InitSettingsWritesEveryDefaultInOrderAndKeepsTheCompanyLabel) {
    const Sandbox box;
    registerWord(QStringLiteral("/opt/Office/Word"));
    box.writeFile(QStringLiteral("Pendra.ini"), "");
    ui::RecordingMessageSink messages;
    PendraIniFields fields;
    fields.Label = QStringLiteral("Muster GmbH");
    fields.WKen = QStringLiteral("1");
    fields.HomePrg = QStringLiteral("/opt/bank");

    ReadPnd::InitSettings(editorIn(messages, box.path()), fields);

    const QByteArray w = box.path().toUtf8();
    EXPECT_EQ(box.readFile(QStringLiteral("Pendra.ini")),
              "[Pendra_Path]\r\nPendra=" + w + "\r\nAnwendung=Pendra_mdb\r\ndb=" + w +
                  "/Tabellen\r\nDbName=Pendra_db\r\n[Datev]\r\nDatev=Nein\r\ndatev_Path=" + w +
                  "/Datev\r\nWken=0\r\n[Online]\r\nOnline=Nein\r\nProg=\r\n[tmp_Path]\r\ntmp=" + w +
                  "/tmp\r\n[Office]\r\nword=/opt/Office/Word\r\n[Vorlagen]\r\nPath=" + w +
                  "/Vorlagen\r\nfax=" + w + "/Vorlagen\r\nbrief=" + w +
                  "/Vorlagen\r\n[EDI]\r\n"
                  "RePath=" +
                  w + "/EDI\r\n");
    EXPECT_EQ(fields.Label, QStringLiteral("Muster GmbH"));
    EXPECT_EQ(fields.AnwPfad, box.path());
    EXPECT_EQ(fields.AnwName, QStringLiteral("Pendra_mde"));
    EXPECT_EQ(fields.DatevPath, box.path() + QStringLiteral("/Datev"));
    EXPECT_EQ(fields.WKen, QString());
    EXPECT_EQ(fields.HomePrg, QString());
    EXPECT_EQ(fields.OfficePath, QStringLiteral("/opt/Office/Word"));
    EXPECT_EQ(fields.FaxPath, box.path() + QStringLiteral("/Vorlagen"));
    EXPECT_TRUE(messages.messages().empty());
}

TEST(EditorReadPnd, InitSettingsOverTheSetupsFileReplacesInPlaceAndWithoutWordLeavesItEmpty) {
    const Sandbox box;
    box.writeFile(QStringLiteral("Pendra.ini"), kSetupFile);
    ui::RecordingMessageSink messages;
    PendraIniFields fields;
    ReadPnd::InitSettings(editorIn(messages, box.path()), fields);

    const QByteArray file = box.readFile(QStringLiteral("Pendra.ini"));
    EXPECT_TRUE(file.startsWith("[Pendra_Path]\r\nPendra=" + box.path().toUtf8() + "\r\n"));
    EXPECT_TRUE(file.contains("\r\nErstaufruf=Ja\r\n[Datev]\r\nDatev_Path=" + box.path().toUtf8() +
                              "/Datev\r\nDatev=Nein\r\nWken=0\r\n"));
    EXPECT_TRUE(file.contains("[office]\r\nword=\r\n[Vorlagen]"));
    EXPECT_TRUE(file.contains("\r\nVorlagen=/opt/Pendra/Vorlagen\r\n"));
    EXPECT_EQ(fields.OfficePath, QString());
}

TEST(EditorReadPnd, WithoutAWorkingFolderEachOperationShowsItsOwnMessageAndWritesNothing) {
    const Sandbox box;
    const QString oldCurrent = QDir::currentPath();
    QDir::setCurrent(box.path());
    ui::RecordingMessageSink messages;
    PendraIniFields fields;
    fields.AnwPfad = QStringLiteral("bleibt");
    ReadPnd::InitSettings(editorIn(messages, QString()), fields);
    ReadPnd::ReadSettings(editorIn(messages, QString()), fields);
    EXPECT_TRUE(ReadPnd::acceptSettings(editorIn(messages, QString()), fields));
    QDir::setCurrent(oldCurrent);
    EXPECT_TRUE(QDir(box.path()).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(fields.AnwPfad, QStringLiteral("bleibt"));
    EXPECT_EQ(messages.texts(),
              (QStringList{QStringLiteral("Fehler beim Ermitteln des des Current-Direktorries"),
                           QStringLiteral("Fehler beim Ermitteln des win-Direktories"),
                           QStringLiteral("Fehler beim Ermitteln des Current-Directories")}));
}

TEST(EditorReadPnd, ReadSettingsLoadsTheComponentFieldsOnlyWhenTheirSwitchReadsJaOrja) {
    const struct {
        const char* datev;
        const char* online;
        bool loaded;
    } cases[] = {{"Ja", "ja", true},
                 {"ja", "Ja", true},
                 {"JA", "JA", false},
                 {"Nein", "nein", false},
                 {"", "", false}};
    const QString old = QStringLiteral("alt");
    for (const auto& c : cases) {
        const Sandbox box;
        box.writeFile(QStringLiteral("Pendra.ini"),
                      QByteArray(kSetupFile)
                          .replace("Datev=Nein", QByteArray("Datev=") + c.datev)
                          .replace("Online=Nein", QByteArray("Online=") + c.online)
                          .replace("Prog=", "Prog=/opt/bank"));
        ui::RecordingMessageSink messages;
        PendraIniFields fields;
        fields.DatevPath = fields.WKen = fields.HomePrg = old;
        ReadPnd::ReadSettings(editorIn(messages, box.path()), fields);

        SCOPED_TRACE(c.datev);
        EXPECT_EQ(fields.DatevPath, c.loaded ? QStringLiteral("/opt/Pendra/Datev/") : old);
        EXPECT_EQ(fields.WKen, c.loaded ? QStringLiteral("1") : old);
        EXPECT_EQ(fields.HomePrg, c.loaded ? QStringLiteral("/opt/bank") : old);
        EXPECT_EQ(fields.dbPath, QStringLiteral("/opt/Pendra/Tabellen/"));
        EXPECT_EQ(fields.BriefPath, QStringLiteral("/opt/Pendra/Vorlagen/brief.doc"));
        EXPECT_EQ(fields.Label, QString());
        EXPECT_TRUE(messages.messages().empty());
    }
}

TEST(EditorReadPnd, AcceptSettingsWritesEveryFieldInOrderAndBothSwitchesAsJa) {
    const Sandbox box;
    box.writeFile(QStringLiteral("Pendra.ini"), "");
    ui::RecordingMessageSink messages;
    PendraIniFields fields;
    fields.Label = QStringLiteral("Müller & Söhne");
    fields.AnwPfad = QStringLiteral("/opt/Pendra");
    fields.WKen = QStringLiteral("1;2");
    fields.EDIPath = QStringLiteral(" /edi ");

    EXPECT_TRUE(ReadPnd::acceptSettings(editorIn(messages, box.path()), fields));
    EXPECT_EQ(box.readFile(QStringLiteral("Pendra.ini")),
              "[LABEL]\r\nFirma=M\xFCller & S\xF6hne\r\n[Pendra_Path]\r\nPendra=/opt/Pendra\r\n"
              "Anwendung=\r\nDb=\r\nDbName=\r\n[Datev]\r\ndatev_Path=\r\ndatev=Ja\r\nWken=1;2\r\n"
              "[tmp_Path]\r\ntmp=\r\n[office]\r\nword=\r\n[Vorlagen]\r\nPath=\r\nfax=\r\nbrief=\r\n"
              "[Online]\r\nProg=\r\nonline=Ja\r\n[EDI]\r\nRePath= /edi \r\n");
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("Daten wurden in die Datei Pendra.ini übernommen")});
}

TEST(EditorReadPnd, AcceptSettingsReportsAFailedWriteInsteadOfSuccessAndStaysOpen) {
    const Sandbox box;
    ui::RecordingMessageSink messages;
    EXPECT_FALSE(ReadPnd::acceptSettings(editorIn(messages, box.path(QStringLiteral("geloescht"))),
                                         PendraIniFields{}));
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_TRUE(messages.texts()[0].startsWith(QStringLiteral("In die Datei")));
}
