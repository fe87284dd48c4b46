#include "platform/paths.h"
#include "support/sandbox.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace pendra::platform;
using pendra::test::Sandbox;

TEST(Paths, NamesInOtherLetterCaseResolveToTheOneExistingFile) {
    const Sandbox box;
    box.writeFile(QStringLiteral("Datev/Damo32.ini"), "x");
    const QString existing = box.path(QStringLiteral("Datev/Damo32.ini"));

    EXPECT_EQ(resolvePath(box.path(QStringLiteral("Datev/damo32.ini"))), existing);
    EXPECT_EQ(resolvePath(box.path(QStringLiteral("DATEV/DAMO32.INI"))), existing);
    EXPECT_TRUE(fileExists(box.path(QStringLiteral("datev/damo32.ini"))));
}

TEST(Paths, AMissingNameStaysAsWrittenBelowTheResolvedFolders) {
    const Sandbox box;
    QDir().mkpath(box.path(QStringLiteral("Tmp")));
    EXPECT_EQ(resolvePath(box.path(QStringLiteral("tmp/FIBU-BW.Kasse.txt"))),
              box.path(QStringLiteral("Tmp/FIBU-BW.Kasse.txt")));
    EXPECT_EQ(resolvePath(box.path(QStringLiteral("neu/Neu.txt"))),
              box.path(QStringLiteral("neu/Neu.txt")));
}

TEST(Paths, AFolderIsNoFileAndUmlautsMatchInEitherCase) {
    const Sandbox box;
    box.writeFile(QStringLiteral("Übersicht.txt"), "x");
    QDir().mkpath(box.path(QStringLiteral("Ordner")));
    EXPECT_TRUE(fileExists(box.path(QStringLiteral("übersicht.TXT"))));
    EXPECT_FALSE(fileExists(box.path(QStringLiteral("ordner"))));
    EXPECT_FALSE(fileExists(QString()));
}

TEST(Paths, JoinPutsExactlyOneSeparator) {
    EXPECT_EQ(joinPath(QStringLiteral("/a/"), QStringLiteral("b")), QStringLiteral("/a/b"));
    EXPECT_EQ(joinPath(QStringLiteral("/a"), QStringLiteral("b")), QStringLiteral("/a/b"));
}
