#include "settings_editor/profiles.h"
#include "common/failure.h"
#include "support/sandbox.h"
#include "ui/recording_message_sink.h"

#include <gtest/gtest.h>

using namespace pendra;
using namespace pendra::settings_editor;
using pendra::test::Sandbox;

TEST(EditorProfiles, ReadProfileValueReadsThroughA250ByteBufferMatchingNamesInAnyCase) {
    const Sandbox box;
    box.writeFile(QStringLiteral("Pendra.ini"),
                  "[Pendra_Path]\r\nDb=/opt/Pendra/Tabellen/\r\nPendra=" + QByteArray(300, 'x') +
                      "\r\n[Online]\r\nProg=\r\nLeer=   \r\n");
    ui::RecordingMessageSink messages;
    const QString file = box.path(QStringLiteral("Pendra.ini"));
    const auto read = [&](const char* section, const char* key) {
        return profiles::ReadProfileValue(messages, file, QString::fromLatin1(section),
                                          QString::fromLatin1(key));
    };
    EXPECT_EQ(read("PENDRA_PATH", "db"), QStringLiteral("/opt/Pendra/Tabellen/"));
    EXPECT_EQ(read("Pendra_Path", "Pendra"), QString(249, QLatin1Char('x')));
    EXPECT_EQ(read("Online", "Prog"), QString());
    EXPECT_EQ(read("Online", "Leer"), QString());
    EXPECT_EQ(read("Online", "Fehlt"), QString());
    EXPECT_EQ(read("Fehlt", "Prog"), QString());
    EXPECT_EQ(profiles::ReadProfileValue(messages, box.path(QStringLiteral("fehlt.ini")),
                                         QStringLiteral("Online"), QStringLiteral("Prog")),
              QString());
    EXPECT_TRUE(messages.messages().empty());

    EXPECT_EQ(profiles::ReadProfileValue(messages, QString(), QStringLiteral("Online"),
                                         QStringLiteral("Prog")),
              QString());
    EXPECT_EQ(
        messages.texts(),
        QStringList{QStringLiteral("Pfad und Name der Peindra.ini konnten nicht gefunden werden")});
}

TEST(EditorProfiles, WriteProfileValueReportsAFileThatCannotBeWritten) {
    const Sandbox box;
    const QString file = box.path(QStringLiteral("fehlt/Damo32.ini"));
    try {
        profiles::writeProfileValueOrThrow(file, QStringLiteral("Datev-Vorlauf"),
                                           QStringLiteral("Berater"), QStringLiteral("4711"));
        FAIL() << "no failure";
    } catch (const Failure& failure) {
        EXPECT_TRUE(failure.message().contains(file)) << failure.message().toStdString();
    }
}
