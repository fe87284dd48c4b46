#include "support/demo_machine.h"

#include <QProcess>

#include <gtest/gtest.h>

using pendra::test::DemoMachine;

namespace {

struct Result {
    int exitCode = -1;
    QString out;
    QString err;
};

Result transfer(const QStringList& args) {
    QProcess process;
    // In the program the driver manager unloads its installer library, so a leak checker can
    // no longer tell its allocations from ours; the in-process tests check our code for leaks.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(PENDRA_TRANSFER), args);
    process.closeWriteChannel();
    process.waitForFinished(60000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

}  // namespace

TEST(Batch, RunsACommandPrintingEachMessageOnItsLine) {
    const DemoMachine machine(DemoMachine::Data::Demo);
    Result result = transfer({QStringLiteral("--batch"), QStringLiteral("stammdaten")});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(
        result.out,
        QStringLiteral("Es wurden 9 Stammdaten ausgespielt und als gebucht gekennzeichnet\n"));

    result = transfer({QStringLiteral("--batch"), QStringLiteral("stammdaten")});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, QStringLiteral("Keine neuen Stammdaten vorhanden;\n"));
}

TEST(Batch, ExitCodesTellChecksFailuresAndUsageApart) {
    const DemoMachine machine(DemoMachine::Data::Demo);
    EXPECT_EQ(transfer({QStringLiteral("--help")}).exitCode, 0);
    EXPECT_EQ(transfer({QStringLiteral("--batch"), QStringLiteral("alles")}).exitCode, 2);
    EXPECT_EQ(transfer({QStringLiteral("--batch")}).exitCode, 2);

    // The diskette question: no terminal means Cancel, --yes means OK.
    const QByteArray damo = machine.readFile(QStringLiteral("Datev/Damo32.ini"));
    QByteArray diskette = damo;
    diskette.replace("Ausgabepfad=" + machine.path(QStringLiteral("Datev/Ausgabe")).toUtf8(),
                     "Ausgabepfad=A:\\");
    machine.writeFile(QStringLiteral("Datev/Damo32.ini"), diskette);
    Result result = transfer({QStringLiteral("--batch"), QStringLiteral("kontenbeschriftungen")});
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(result.out, QStringLiteral("Bitte legen Sie eine Diskette ins Laufwerk A:, da die "
                                         "Daten auf A: ausgespielt werden\n"));
    result = transfer({QStringLiteral("--batch"), QStringLiteral("kontenbeschriftungen"),
                       QStringLiteral("--yes")});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_TRUE(result.out.endsWith(QStringLiteral("Kontenbeschriftungen ausgespielt\n")));

    machine.writeFile(QStringLiteral("odbc/odbc.ini"), "");
    result = transfer({QStringLiteral("--batch"), QStringLiteral("buchungen")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.contains(QStringLiteral("Datenbankfehler"))) << result.err.toStdString();
}
