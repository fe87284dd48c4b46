#include "common/FileFkt.h"
#include "common/failure.h"
#include "support/sandbox.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace pendra;
using namespace pendra::common;
using pendra::test::Sandbox;

TEST(FileFkt, CreateEmptyTextFileReplacesAnExistingFileWithAnEmptyOne) {
    const Sandbox box;
    const QString file = box.path(QStringLiteral("FIBU-BW.Kasse.txt"));
    common::FileFkt::CreateEmptyTextFile(file);
    EXPECT_TRUE(common::FileFkt::FilePresent(file));
    box.writeFile(QStringLiteral("FIBU-BW.Kasse.txt"), "alt\r\n");
    common::FileFkt::CreateEmptyTextFile(box.path(QStringLiteral("fibu-bw.kasse.TXT")));
    EXPECT_EQ(box.readFile(QStringLiteral("FIBU-BW.Kasse.txt")), QByteArray());
    EXPECT_FALSE(QFile::exists(box.path(QStringLiteral("fibu-bw.kasse.TXT"))));
}

TEST(FileFkt, AReadOnlyFileIsNotForcedAndAMissingFolderFails) {
    const Sandbox box;
    box.writeFile(QStringLiteral("fest.txt"), "bleibt");
    QFile::setPermissions(box.path(QStringLiteral("fest.txt")), QFileDevice::ReadOwner);
    EXPECT_THROW(common::FileFkt::CreateEmptyTextFile(box.path(QStringLiteral("fest.txt"))),
                 Failure);
    EXPECT_EQ(box.readFile(QStringLiteral("fest.txt")), QByteArray("bleibt"));
    EXPECT_THROW(common::FileFkt::CreateEmptyTextFile(box.path(QStringLiteral("fehlt/x.txt"))),
                 Failure);
    EXPECT_THROW(common::FileFkt::AppendTextLine(box.path(QStringLiteral("fehlt/x.txt")),
                                                 QStringLiteral("a")),
                 Failure);
}

TEST(FileFkt, AppendTextLineWritesWindows1252LinesWithCrLfAndCountsLostCharacters) {
    const Sandbox box;
    const QString file = box.path(QStringLiteral("OPOS-ST-OBE.txt"));
    EXPECT_EQ(common::FileFkt::AppendTextLine(file, QStringLiteral("Müller@Köln@€")), 0);
    EXPECT_EQ(common::FileFkt::AppendTextLine(file, QStringLiteral("Łukasz")), 1);
    EXPECT_EQ(box.readFile(QStringLiteral("OPOS-ST-OBE.txt")),
              QByteArray("M\xFCller@K\xF6ln@\x80\r\n?ukasz\r\n"));
}

TEST(FileFkt, FilePresentIgnoresLetterCaseAndFolders) {
    const Sandbox box;
    box.writeFile(QStringLiteral("Pendra.ini"), "");
    EXPECT_TRUE(common::FileFkt::FilePresent(box.path(QStringLiteral("PENDRA.INI"))));
    EXPECT_FALSE(common::FileFkt::FilePresent(box.path(QStringLiteral("Fehlt.ini"))));
    EXPECT_FALSE(common::FileFkt::FilePresent(box.path()));
}

TEST(FileFkt, ASystemErrorIsToldInGermanOnly) {
    const Sandbox box;
    box.writeFile(QStringLiteral("kein-ordner"), "a file where a folder belongs");
    try {
        common::FileFkt::CreateEmptyTextFile(box.path(QStringLiteral("kein-ordner/neu.txt")));
        ADD_FAILURE() << "no failure";
    } catch (const Failure& failure) {
        EXPECT_TRUE(failure.message().endsWith(
            QStringLiteral("kann nicht angelegt werden: Ein Teil des Pfades ist kein Verzeichnis")))
            << failure.message().toStdString();
    }
}
