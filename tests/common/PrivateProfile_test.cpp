#include "common/PrivateProfile.h"
#include "support/sandbox.h"
#include "ui/recording_message_sink.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace pendra;
using namespace pendra::common;
using pendra::test::Sandbox;
using pendra::test::ScopedEnv;

namespace {

const QString kNotFound =
    QStringLiteral("Path und Name der Applikation in der {windir}\\Pendra.ini nicht gefunden");

}  // namespace

TEST(ReadIniValue, TheBareNameIsRewrittenToTheWindowsFolderInTheCallersVariable) {
    const Sandbox box;
    box.writeFile(QStringLiteral("system/Windows/Pendra.ini"), "[tmp_Path]\r\ntmp=/var/tmp\r\n");
    ui::RecordingMessageSink messages;
    QString file = QStringLiteral("Pendra.ini");

    EXPECT_EQ(common::PrivateProfile::ReadIniValue(messages, QStringLiteral("tmp_Path"),
                                                   QStringLiteral("tmp"), file),
              QStringLiteral("/var/tmp"));
    EXPECT_EQ(file, box.windowsFolder() + QStringLiteral("/Pendra.ini"));
    EXPECT_TRUE(messages.messages().empty());
}

TEST(ReadIniValue, TheNameInOtherCaseIsNotRewrittenButTheProfileReadFindsItInTheWindowsFolder) {
    const Sandbox box;
    box.writeFile(QStringLiteral("system/Windows/Pendra.ini"), "[tmp_Path]\r\ntmp=/var/tmp\r\n");
    box.writeFile(QStringLiteral("pendra.ini"), "[tmp_Path]\r\ntmp=/working/folder\r\n");
    const QString old = QDir::currentPath();
    QDir::setCurrent(box.path());
    ui::RecordingMessageSink messages;
    QString file = QStringLiteral("pendra.ini");

    // A profile named without a folder lives in the Windows folder, whatever the working one.
    EXPECT_EQ(common::PrivateProfile::ReadIniValue(messages, QStringLiteral("tmp_Path"),
                                                   QStringLiteral("tmp"), file),
              QStringLiteral("/var/tmp"));
    QDir::setCurrent(old);
    EXPECT_EQ(file, QStringLiteral("pendra.ini"));
    EXPECT_TRUE(messages.texts().isEmpty());
}

TEST(ReadIniValue, AnEmptyValueAMissingKeyAndAMissingFileShowTheOneFixedMessage) {
    const Sandbox box;
    box.writeFile(QStringLiteral("system/Windows/Pendra.ini"), "[tmp_Path]\r\ntmp=\r\n");
    ui::RecordingMessageSink messages;
    QString file = QStringLiteral("Pendra.ini");
    EXPECT_EQ(common::PrivateProfile::ReadIniValue(messages, QStringLiteral("tmp_Path"),
                                                   QStringLiteral("tmp"), file),
              QString());
    file = QStringLiteral("Pendra.ini");
    EXPECT_EQ(common::PrivateProfile::ReadIniValue(messages, QStringLiteral("DATEV"),
                                                   QStringLiteral("datev"), file),
              QString());
    QString damo = box.path(QStringLiteral("Datev/Damo32.ini"));
    EXPECT_EQ(common::PrivateProfile::ReadIniValue(messages, QStringLiteral("Einstellungen"),
                                                   QStringLiteral("Ausgabepfad"), damo),
              QString());
    EXPECT_EQ(damo, box.path(QStringLiteral("Datev/Damo32.ini")));
    EXPECT_EQ(messages.texts(), (QStringList{kNotFound, kNotFound, kNotFound}));
}

TEST(ReadIniValue, SectionsMatchInAnyCaseAndLongValuesAreCutTo254) {
    const Sandbox box;
    const QByteArray longValue(300, 'x');
    box.writeFile(QStringLiteral("system/Windows/Pendra.ini"),
                  "[Datev]\r\ndatev=/opt/Datev\r\n[Pendra_Path]\r\nPendra=" + longValue + "\r\n");
    ui::RecordingMessageSink messages;
    QString file = QStringLiteral("Pendra.ini");
    EXPECT_EQ(common::PrivateProfile::ReadIniValue(messages, QStringLiteral("DATEV"),
                                                   QStringLiteral("datev"), file),
              QStringLiteral("/opt/Datev"));
    EXPECT_EQ(common::PrivateProfile::ReadIniValue(messages, QStringLiteral("Pendra_Path"),
                                                   QStringLiteral("Pendra"), file),
              QString(254, QLatin1Char('x')));
    EXPECT_TRUE(messages.messages().empty());
}

TEST(ReadIniValue, WithoutAWindowsFolderOnlyThatIsReported) {
    const Sandbox box;
    const ScopedEnv noRoot("PENDRA_SYSTEM_ROOT", QString());
    ui::RecordingMessageSink messages;
    QString file = QStringLiteral("Pendra.ini");
    EXPECT_EQ(common::PrivateProfile::ReadIniValue(messages, QStringLiteral("tmp_Path"),
                                                   QStringLiteral("tmp"), file),
              QString());
    EXPECT_EQ(file, QStringLiteral("Pendra.ini"));
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("Windir_Path nicht gefunden")});
}

TEST(WriteIniValue, WritesWhatTheReaderFinds) {
    const Sandbox box;
    QString damo = box.path(QStringLiteral("Damo32.ini"));
    common::PrivateProfile::WriteIniValue(QStringLiteral("DATEV-Vorlauf"), QStringLiteral("Jahr"),
                                          QStringLiteral("2026"), damo);
    ui::RecordingMessageSink messages;
    EXPECT_EQ(common::PrivateProfile::ReadIniValue(messages, QStringLiteral("datev-vorlauf"),
                                                   QStringLiteral("JAHR"), damo),
              QStringLiteral("2026"));
}
