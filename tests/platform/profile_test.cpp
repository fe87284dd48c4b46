#include "platform/profile.h"
#include "support/sandbox.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

using namespace pendra::platform;
using pendra::test::Sandbox;

namespace {

QString read(const QString& section, const QString& key, const QString& file, int size = 255,
             const QString& fallback = QString(255, QLatin1Char(' '))) {
    return getPrivateProfileString(section, key, fallback, size, file);
}

}  // namespace

TEST(Profile, MissingFileSectionOrKeyGiveTheDefaultWithoutTrailingBlanks) {
    const Sandbox box;
    const QString file = box.path(QStringLiteral("Pendra.ini"));
    EXPECT_EQ(read(QStringLiteral("tmp_Path"), QStringLiteral("tmp"), file), QString());
    EXPECT_EQ(read(QStringLiteral("a"), QStringLiteral("b"), file, 255, QStringLiteral(" x  ")),
              QStringLiteral(" x"));

    box.writeFile(QStringLiteral("Pendra.ini"), "[tmp_Path]\r\ntmp=\r\n[Online]\r\nProg=\r\n");
    EXPECT_EQ(read(QStringLiteral("tmp_Path"), QStringLiteral("tmp"), file), QString());
    EXPECT_EQ(read(QStringLiteral("Online"), QStringLiteral("Prog"), file), QString());
    EXPECT_EQ(read(QStringLiteral("Online"), QStringLiteral("Fehlt"), file), QString());
    EXPECT_EQ(read(QStringLiteral("Fehlt"), QStringLiteral("Prog"), file), QString());
}

TEST(Profile, NamesMatchWithoutRegardToCaseAndValuesLoseBlanksAndOnePairOfQuotes) {
    const Sandbox box;
    box.writeFile(QStringLiteral("Pendra.ini"),
                  "[Pendra_Path]\r\n  Db =  /opt/Tabellen  \r\n"
                  "[ Datev ]\r\ndatev=\"/opt/Datev\"\r\nWken='1'\r\nQuote=\"a\"b\"\r\n");
    const QString file = box.path(QStringLiteral("pendra.INI"));
    EXPECT_EQ(read(QStringLiteral("PENDRA_PATH"), QStringLiteral("db"), file),
              QStringLiteral("/opt/Tabellen"));
    EXPECT_EQ(read(QStringLiteral("DATEV"), QStringLiteral("DATEV"), file),
              QStringLiteral("/opt/Datev"));
    EXPECT_EQ(read(QStringLiteral("datev"), QStringLiteral("wken"), file), QStringLiteral("1"));
    EXPECT_EQ(read(QStringLiteral("Datev"), QStringLiteral("Quote"), file), QStringLiteral("a\"b"));
}

TEST(Profile, ValuesAndDefaultsAreCutToTheBufferSizeLessOne) {
    const Sandbox box;
    const QString file = box.path(QStringLiteral("Pendra.ini"));
    const QString longValue = QString(300, QLatin1Char('x'));
    ASSERT_TRUE(
        writePrivateProfileString(QStringLiteral("s"), QStringLiteral("k"), longValue, file));
    EXPECT_EQ(read(QStringLiteral("s"), QStringLiteral("k"), file, 255), longValue.left(254));
    EXPECT_EQ(read(QStringLiteral("s"), QStringLiteral("k"), file, 250), longValue.left(249));
    EXPECT_EQ(read(QStringLiteral("s"), QStringLiteral("k"), file, 1000), longValue);
    EXPECT_EQ(read(QStringLiteral("s"), QStringLiteral("x"), file, 4, QStringLiteral("abcdef")),
              QStringLiteral("abc"));
}

TEST(Profile, FirstWriteCreatesFileAndSectionWithCrLf) {
    const Sandbox box;
    const QString file = box.path(QStringLiteral("Pendra.ini"));
    ASSERT_TRUE(writePrivateProfileString(QStringLiteral("tmp_Path"), QStringLiteral("tmp"),
                                          QStringLiteral("/var/tmp"), file));
    ASSERT_TRUE(writePrivateProfileString(QStringLiteral("Datev"), QStringLiteral("datev"),
                                          QStringLiteral("Nein"), file));
    ASSERT_TRUE(writePrivateProfileString(QStringLiteral("TMP_PATH"), QStringLiteral("Zweit"),
                                          QStringLiteral("2"), file));
    EXPECT_EQ(box.readFile(QStringLiteral("Pendra.ini")),
              QByteArray("[tmp_Path]\r\ntmp=/var/tmp\r\nZweit=2\r\n[Datev]\r\ndatev=Nein\r\n"));
}

TEST(Profile, WriteKeepsCommentsBlankLinesAndOtherSectionsByteForByte) {
    const Sandbox box;
    const QByteArray before =
        "; Einstellungen der Anwendung\r\n"
        "\r\n"
        "[LABEL]\r\n"
        "Firma=M\xFCller & S\xF6hne\r\n"
        "\r\n"
        "[Datev]\n"
        "; Schalter\n"
        "Datev = Nein\n"
        "Wken=1\n"
        "\n"
        "[Online]\r\n"
        "Online=Nein";
    box.writeFile(QStringLiteral("Pendra.ini"), before);
    const QString file = box.path(QStringLiteral("Pendra.ini"));

    ASSERT_TRUE(writePrivateProfileString(QStringLiteral("datev"), QStringLiteral("DATEV"),
                                          QStringLiteral("Ja"), file));
    ASSERT_TRUE(writePrivateProfileString(QStringLiteral("Datev"), QStringLiteral("datev_Path"),
                                          QStringLiteral("/opt/Datev"), file));
    ASSERT_TRUE(writePrivateProfileString(QStringLiteral("EDI"), QStringLiteral("RePath"),
                                          QStringLiteral("/opt/EDI"), file));

    const QByteArray after =
        "; Einstellungen der Anwendung\r\n"
        "\r\n"
        "[LABEL]\r\n"
        "Firma=M\xFCller & S\xF6hne\r\n"
        "\r\n"
        "[Datev]\n"
        "; Schalter\n"
        "Datev =Ja\n"
        "Wken=1\n"
        "datev_Path=/opt/Datev\r\n"
        "\n"
        "[Online]\r\n"
        "Online=Nein\r\n"
        "[EDI]\r\n"
        "RePath=/opt/EDI\r\n";
    EXPECT_EQ(box.readFile(QStringLiteral("Pendra.ini")), after);
}

TEST(Profile, Windows1252RoundTripOfGermanText) {
    const Sandbox box;
    const QString file = box.path(QStringLiteral("Pendra.ini"));
    const QString text = QStringLiteral("Übernehmen äöüß €");
    ASSERT_TRUE(
        writePrivateProfileString(QStringLiteral("LABEL"), QStringLiteral("Firma"), text, file));
    EXPECT_EQ(box.readFile(QStringLiteral("Pendra.ini")),
              QByteArray("[LABEL]\r\nFirma=\xDC"
                         "bernehmen \xE4\xF6\xFC\xDF \x80\r\n"));
    EXPECT_EQ(read(QStringLiteral("label"), QStringLiteral("firma"), file), text);
}

TEST(Profile, WriteGoesToTheExistingFileWhateverTheCaseOfItsName) {
    const Sandbox box;
    box.writeFile(QStringLiteral("Datev/Damo32.ini"), "[Einstellungen]\r\nBerater=1\r\n");
    ASSERT_TRUE(writePrivateProfileString(QStringLiteral("Einstellungen"),
                                          QStringLiteral("Mandant"), QStringLiteral("2"),
                                          box.path(QStringLiteral("datev/damo32.ini"))));
    EXPECT_FALSE(QFile::exists(box.path(QStringLiteral("Datev/damo32.ini"))));
    EXPECT_EQ(box.readFile(QStringLiteral("Datev/Damo32.ini")),
              QByteArray("[Einstellungen]\r\nBerater=1\r\nMandant=2\r\n"));
}

TEST(Profile, ALineBreakInAValueCannotAddLines) {
    const Sandbox box;
    const QString file = box.path(QStringLiteral("Pendra.ini"));
    ASSERT_TRUE(writePrivateProfileString(QStringLiteral("s"), QStringLiteral("k"),
                                          QStringLiteral("a\r\n[evil]\nx=1"), file));
    EXPECT_EQ(box.readFile(QStringLiteral("Pendra.ini")), QByteArray("[s]\r\nk=a  [evil] x=1\r\n"));
}

TEST(Profile, ANameWithALineBreakFindsTheBlankWrittenForIt) {
    const Sandbox box;
    const QString file = box.path(QStringLiteral("Pendra.ini"));
    ASSERT_TRUE(writePrivateProfileString(QStringLiteral("a\nb"), QStringLiteral("c\r\nd"),
                                          QStringLiteral("1"), file));
    ASSERT_TRUE(writePrivateProfileString(QStringLiteral("a\nb"), QStringLiteral("c\r\nd"),
                                          QStringLiteral("2"), file));
    EXPECT_EQ(box.readFile(QStringLiteral("Pendra.ini")), QByteArray("[a b]\r\nc  d=2\r\n"));
    EXPECT_EQ(read(QStringLiteral("a\nb"), QStringLiteral("c\r\nd"), file), QStringLiteral("2"));
    EXPECT_EQ(read(QStringLiteral("A B"), QStringLiteral("C  D"), file), QStringLiteral("2"));
}

TEST(Profile, NamesTheFileCannotHoldAreRefusedAndTheFileStays) {
    const Sandbox box;
    const QString file = box.path(QStringLiteral("Pendra.ini"));
    box.writeFile(QStringLiteral("Pendra.ini"), "[a]\r\nk=alt\r\n");
    // "[a]b]" would read as section "a", "k=x" as key "k", "[k" as a section header.
    EXPECT_FALSE(writePrivateProfileString(QStringLiteral("a]b"), QStringLiteral("k"),
                                           QStringLiteral("neu"), file));
    EXPECT_FALSE(writePrivateProfileString(QStringLiteral("a"), QStringLiteral("k=x"),
                                           QStringLiteral("neu"), file));
    EXPECT_FALSE(writePrivateProfileString(QStringLiteral("a"), QStringLiteral(" [k"),
                                           QStringLiteral("neu"), file));
    EXPECT_EQ(box.readFile(QStringLiteral("Pendra.ini")), QByteArray("[a]\r\nk=alt\r\n"));
    EXPECT_TRUE(writePrivateProfileString(QStringLiteral("[a"), QStringLiteral("k]"),
                                          QStringLiteral("=[]"), file));
    EXPECT_EQ(read(QStringLiteral("[a"), QStringLiteral("k]"), file), QStringLiteral("=[]"));
}

TEST(Profile, AWriteIntoAMissingFolderFailsAndCreatesNothing) {
    const Sandbox box;
    EXPECT_FALSE(writePrivateProfileString(QStringLiteral("s"), QStringLiteral("k"),
                                           QStringLiteral("v"),
                                           box.path(QStringLiteral("fehlt/Pendra.ini"))));
    EXPECT_FALSE(QFile::exists(box.path(QStringLiteral("fehlt"))));
}

TEST(Profile, AFileNamedWithoutAFolderIsTheWindowsFoldersFile) {
    const Sandbox box;
    QDir().mkpath(box.windowsFolder());
    ASSERT_TRUE(writePrivateProfileString(QStringLiteral("s"), QStringLiteral("k"),
                                          QStringLiteral("v"), QStringLiteral("nur-name.ini")));
    EXPECT_EQ(box.readFile(QStringLiteral("system/Windows/nur-name.ini")), "[s]\r\nk=v\r\n");
    EXPECT_FALSE(QFile::exists(QStringLiteral("nur-name.ini")));
    EXPECT_EQ(getPrivateProfileString(QStringLiteral("S"), QStringLiteral("K"), QString(), 255,
                                      QStringLiteral("NUR-NAME.INI")),
              QStringLiteral("v"));
}

TEST(Profile, TwoProcessesWritingOneFileAtOnceLoseNoWrite) {
    const Sandbox box;
    const QString file = box.path(QStringLiteral("Pendra.ini"));
    constexpr int kWrites = 500;
    QProcess first;
    QProcess second;
    first.start(QStringLiteral(PENDRA_PROFILE_WRITER),
                {file, QStringLiteral("a"), QString::number(kWrites)});
    second.start(QStringLiteral(PENDRA_PROFILE_WRITER),
                 {file, QStringLiteral("b"), QString::number(kWrites)});
    ASSERT_TRUE(first.waitForFinished(100000));
    ASSERT_TRUE(second.waitForFinished(100000));
    ASSERT_EQ(first.exitCode(), 0);
    ASSERT_EQ(second.exitCode(), 0);

    for (int i = 0; i < kWrites; ++i) {
        ASSERT_EQ(read(QStringLiteral("Werte"), QStringLiteral("a%1").arg(i), file),
                  QString::number(i));
        ASSERT_EQ(read(QStringLiteral("Werte"), QStringLiteral("b%1").arg(i), file),
                  QString::number(i));
    }
    EXPECT_EQ(box.readFile(QStringLiteral("Pendra.ini")).count('\n'), 2 * kWrites + 1);
}
