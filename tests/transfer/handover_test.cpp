// Interface files whose records were marked booked reach DATEV even when the run that wrote
// them ended before handing them over.
#include "common/failure.h"
#include "support/demo_machine.h"
#include "transfer/commands.h"
#include "ui/recording_message_sink.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

using namespace pendra;
using namespace pendra::transfer;
using pendra::test::DemoMachine;

namespace {

const QString kLate = QStringLiteral(
    "Die Datei „%1“ enthält Sätze, die beim letzten Lauf als gebucht gekennzeichnet, aber nicht "
    "mehr an DATEV übergeben wurden. Sie wird jetzt nachträglich übergeben.");

QStringList markers(const DemoMachine& machine) {
    return QDir(machine.tmpFolder()).entryList({QStringLiteral("*.nicht-an-DATEV-uebergeben")});
}

struct Recorded {
    ui::RecordingMessageSink messages;
    CommandRun command{messages};
};

}  // namespace

TEST(LateHandOver, AFileMarkedButNotConvertedGoesToDatevAtTheNextRunAndOnlyThen) {
    const DemoMachine machine;
    machine.exec(QStringLiteral(R"(
        insert into Wirtschaftsjahr values (1, 2026, 26, '0101', '3112');
        insert into Bankkonto (Nr, Bezeichnung, Konto, IBAN) values (1, 'Sparkasse', '1200', 'DE01');
        insert into Buchung (Kategorie, Wert, SH, Gegenkonto, Beleg1, Datum, Konto, Bankkonto, Buchungstext, KorrKz) values
          ('Ueberw', 10, 'H', '4210', 'UE1', '2026-01-02', '1200', '1200', 'Miete', 0),
          ('Zahlungen', 20, 'S', '10001', 'AR1', '2026-02-04', '1200', '1200', 'Eingang', 0);
    )"));
    const QString converter = machine.path(QStringLiteral("Datev/damo32.exe"));
    ASSERT_TRUE(QFile::rename(converter, converter + QStringLiteral(".weg")));
    Recorded broken;
    EXPECT_THROW(bookingsCommand(broken.command), Failure);
    const QByteArray leftover = machine.readFile(QStringLiteral("tmp/FIBU-BW.1200.txt"));
    EXPECT_EQ(leftover.count("\r\n"), 2);
    EXPECT_EQ(markers(machine),
              QStringList{QStringLiteral("FIBU-BW.1200.nicht-an-DATEV-uebergeben")});

    ASSERT_TRUE(QFile::rename(converter + QStringLiteral(".weg"), converter));
    Recorded next;
    bookingsCommand(next.command);
    EXPECT_EQ(next.messages.texts().value(0), kLate.arg(QStringLiteral("FIBU-BW.1200.txt")));
    // The DATEV-Format file holds header, headings and one record per line of the leftover,
    // each with the leftover line's voucher.
    const QStringList late = QDir(machine.path(QStringLiteral("Datev/Ausgabe")))
                                 .entryList({QStringLiteral("EXTF_Buchungsstapel_FIBU-BW.1200_*")});
    ASSERT_EQ(late.size(), 1);
    const QList<QByteArray> records =
        machine.readFile(QStringLiteral("Datev/Ausgabe/") + late[0]).split('\n').mid(2);
    const QList<QByteArray> leftoverLines = leftover.split('\n');
    ASSERT_EQ(records.size(), leftoverLines.size());
    for (qsizetype i = 0; i + 1 < leftoverLines.size(); ++i) {
        EXPECT_TRUE(records[i].contains(";\"" + leftoverLines[i].split(';').value(3) + "\";"))
            << records[i].toStdString();
    }
    EXPECT_TRUE(markers(machine).isEmpty());

    Recorded normal;
    bookingsCommand(normal.command);
    EXPECT_FALSE(normal.messages.texts().join(u'\n').contains(QStringLiteral("nachträglich")));
    EXPECT_EQ(machine.convertedRecords(), 2);
}

TEST(LateHandOver, AMarkerThatCannotBeReplacedStopsTheRunBeforeItsMarkingNamingTheCause) {
    const DemoMachine machine;
    machine.exec(QStringLiteral(R"(
        insert into Wirtschaftsjahr values (1, 2026, 26, '0101', '3112');
        insert into Bankkonto (Nr, Bezeichnung, Konto, IBAN) values (1, 'Sparkasse', '1200', 'DE01');
        insert into Buchung (Kategorie, Wert, SH, Gegenkonto, Beleg1, Datum, Konto, Bankkonto, Buchungstext, KorrKz) values
          ('Ueberw', 10, 'H', '4210', 'UE1', '2026-01-02', '1200', '1200', 'Miete', 0);
    )"));
    // A folder in the marker's place: the rename that replaces the marker fails.
    ASSERT_TRUE(
        QDir(machine.tmpFolder()).mkdir(QStringLiteral("FIBU-BW.1200.nicht-an-DATEV-uebergeben")));
    Recorded run;
    try {
        bookingsCommand(run.command);
        ADD_FAILURE() << "the run went on without its marker";
    } catch (const Failure& failure) {
        EXPECT_TRUE(failure.message().endsWith(QStringLiteral("Ist ein Verzeichnis")))
            << failure.message().toStdString();
    }
    EXPECT_EQ(machine.rows(QStringLiteral("select count(*) from Buchung where Bu_kz = 'B'")),
              QStringList{QStringLiteral("0")});
}

TEST(LateHandOver, ARunKilledBetweenMarkingAndHandOverLosesNoBookingToDatev) {
    const DemoMachine machine(DemoMachine::Data::Demo);
    QProcess transfer;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    transfer.setProcessEnvironment(environment);
    transfer.start(
        QStringLiteral(PENDRA_TRANSFER),
        {QStringLiteral("--batch"), QStringLiteral("buchungen"), QStringLiteral("--yes")});
    ASSERT_TRUE(transfer.waitForStarted());

    // As soon as the first bookings are marked, the database takes no further marking, so the
    // program is held between a marking and the hand-over of that file; there it is killed.
    const QString marked = QStringLiteral("select count(*) from Buchung where Bu_kz = 'B'");
    const QString before = machine.rows(marked).value(0);  // the demo year has some already
    const QDeadlineTimer deadline(30000);
    while (machine.rows(marked).value(0) == before && !deadline.hasExpired()) {
        QThread::msleep(1);
    }
    machine.exec(QStringLiteral("begin immediate"));
    QThread::msleep(200);
    ::kill(static_cast<pid_t>(transfer.processId()), SIGKILL);
    transfer.waitForFinished();
    machine.exec(QStringLiteral("rollback"));
    ASSERT_NE(machine.rows(marked).value(0), before);
    ASSERT_FALSE(markers(machine).isEmpty()) << "killed after the hand-over; nothing to prove";

    Recorded next;
    bookingsCommand(next.command);
    EXPECT_TRUE(next.messages.texts().value(0).endsWith(QStringLiteral("nachträglich übergeben.")))
        << next.messages.texts().join(u'\n').toStdString();
    // Every booking of the year reached the converter exactly once over both runs.
    EXPECT_EQ(machine.convertedRecords(), 440);
    EXPECT_TRUE(markers(machine).isEmpty());
}
