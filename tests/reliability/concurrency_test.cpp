// Programs of the suite writing the same files at once, and two transfer programs started at
// once on one machine.
#include "platform/profile.h"
#include "platform/registry_store.h"
#include "support/demo_machine.h"
#include "support/sandbox.h"
#include "transfer/gui/StartForm.h"
#include "ui/recording_message_sink.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <memory>
#include <set>
#include <vector>

using namespace pendra;
using pendra::test::DemoMachine;
using pendra::test::Sandbox;

namespace {

QProcessEnvironment withoutLeakCheck() {
    // In the programs the driver manager unloads its installer library, so a leak checker can
    // no longer tell its allocations from ours; the in-process tests check our code for leaks.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    return environment;
}

std::unique_ptr<QProcess> start(const QString& program, const QStringList& args) {
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(withoutLeakCheck());
    process->start(program, args);
    process->closeWriteChannel();
    return process;
}

// ---- Writers of settings files and the registry ------------------------------------------

constexpr int kEditorForms = 60;      // five writes each
constexpr int kTransferWrites = 200;  // per transfer writer, two writers
constexpr int kRegistryWrites = 80;
const QString kLoadKey = QStringLiteral("Software\\Lasttest");

// Whole: every line ends with CR LF and is a section header or a key line.
bool wholeProfile(const QByteArray& contents) {
    QList<QByteArray> lines = contents.split('\n');
    if (lines.size() < 2 || !lines.takeLast().isEmpty()) {
        return false;
    }
    return std::all_of(lines.begin(), lines.end(), [](const QByteArray& line) {
        const QByteArray text = line.chopped(1);
        return line.endsWith('\r') && !text.contains('\r') &&
               ((text.startsWith('[') && text.endsWith(']')) || text.contains('='));
    });
}

struct Reads {
    int total = 0;
    int torn = 0;
};

// Reads every file once, as a reader without a lock does, counting those that are not whole.
void readOnce(const QString& folder, Reads& reads) {
    for (const char* name : {"Pendra.ini", "Damo32.ini"}) {
        QFile file(folder + QLatin1Char('/') + QLatin1String(name));
        ++reads.total;
        if (!file.open(QIODevice::ReadOnly) || !wholeProfile(file.readAll())) {
            ++reads.torn;
        }
    }
    ++reads.total;
    const platform::RegistryStore registry(folder + QStringLiteral("/registry.reg"));
    if (!registry.keyExists(kLoadKey).ok()) {
        ++reads.torn;
    }
}

struct Written {
    QString file;
    QString section;
    QString key;
    QString value;
};

// Every profile key the writers wrote, with the value each wrote last.
std::vector<Written> profileKeys(const QString& folder) {
    const QString settings = folder + QStringLiteral("/Pendra.ini");
    const QString damo = folder + QStringLiteral("/Damo32.ini");
    const QString last = QString::number(kEditorForms - 1);
    std::vector<Written> keys = {
        {damo, QStringLiteral("Datev-Vorlauf"), QStringLiteral("Berater"), last},
        {damo, QStringLiteral("Datev-Vorlauf"), QStringLiteral("Mandant"), last},
        {damo, QStringLiteral("Einstellungen"), QStringLiteral("Ausgabepfad"), last},
        {settings, QStringLiteral("Datev"), QStringLiteral("Wken"), last}};
    for (int i = 0; i < kEditorForms; ++i) {
        keys.push_back(
            {settings, QStringLiteral("Editor"), QStringLiteral("e%1").arg(i), QString::number(i)});
    }
    const QString sections[] = {QStringLiteral("Einstellungen"), QStringLiteral("DATEV-Vorlauf")};
    for (const QString& prefix : {QStringLiteral("a"), QStringLiteral("b")}) {
        for (int i = 0; i < kTransferWrites; ++i) {
            keys.push_back(
                {damo, sections[i % 2], prefix + QString::number(i), QString::number(i)});
        }
    }
    return keys;
}

int lostWrites(const QString& folder) {
    int lost = 0;
    for (const Written& written : profileKeys(folder)) {
        constexpr int kBufferSize = 255;
        const QString value = platform::getPrivateProfileString(
            written.section, written.key, QStringLiteral("<fehlt>"), kBufferSize, written.file);
        lost += value == written.value ? 0 : 1;
    }
    const platform::RegistryStore registry(folder + QStringLiteral("/registry.reg"));
    for (int i = 0; i < kRegistryWrites; ++i) {
        platform::RegValue value;
        const bool kept =
            registry.queryValue(kLoadKey, QStringLiteral("r%1").arg(i), &value).ok() &&
            value.text() == QString::number(i);
        lost += kept ? 0 : 1;
    }
    return lost;
}

std::vector<std::unique_ptr<QProcess>> startWriters(const QString& folder) {
    std::vector<std::unique_ptr<QProcess>> writers;
    const QString writer = QStringLiteral(PENDRA_SETTINGS_WRITER);
    writers.push_back(
        start(writer, {QStringLiteral("editor"), folder, QString::number(kEditorForms)}));
    // The transfer program names the file in lower case; it is the same file.
    for (const QString& prefix : {QStringLiteral("a"), QStringLiteral("b")}) {
        writers.push_back(
            start(writer, {QStringLiteral("transfer"), folder + QStringLiteral("/damo32.ini"),
                           prefix, QString::number(kTransferWrites)}));
    }
    const QString registryLoop = QStringLiteral(
        R"(i=0; while [ $i -lt "$2" ]; do "$1" add 'HKLM\Software\Lasttest' /v r$i /d $i /f )"
        R"(> /dev/null || exit 1; i=$((i+1)); done)");
    writers.push_back(start(QStringLiteral("/bin/sh"),
                            {QStringLiteral("-c"), registryLoop, QStringLiteral("sh"),
                             QStringLiteral(PENDRA_REG_TOOL), QString::number(kRegistryWrites)}));
    return writers;
}

bool running(const std::vector<std::unique_ptr<QProcess>>& processes) {
    return std::any_of(processes.begin(), processes.end(), [](const auto& process) {
        return !process->waitForFinished(0) && process->state() != QProcess::NotRunning;
    });
}

}  // namespace

TEST(ConcurrentWriters, EditorTransferAndRegistryToolLoseNoWriteTearNoFileLeaveNoFile) {
    const Sandbox box;
    const QString folder = box.systemRoot();
    box.writeFile(QStringLiteral("system/Pendra.ini"),
                  "[Datev]\r\ndatev=" + folder.toUtf8() + "\r\nWken=\r\n");
    box.writeFile(QStringLiteral("system/Damo32.ini"),
                  "[Datev-Vorlauf]\r\nBerater=\r\n[Einstellungen]\r\nAusgabepfad=\r\n");
    ASSERT_TRUE(platform::RegistryStore::system().createKey(kLoadKey).ok());

    const auto writers = startWriters(folder);
    Reads reads;
    const QDeadlineTimer deadline(100000);
    while (running(writers) && !deadline.hasExpired()) {
        readOnce(folder, reads);
    }
    for (const auto& writer : writers) {
        ASSERT_EQ(writer->state(), QProcess::NotRunning) << "writers still running";
        ASSERT_EQ(writer->exitStatus(), QProcess::NormalExit);
        ASSERT_EQ(writer->exitCode(), 0) << writer->readAllStandardError().toStdString();
    }

    const int lost = lostWrites(folder);
    constexpr int kWrites = kEditorForms * 5 + 2 * kTransferWrites + kRegistryWrites;
    std::printf("writes made: %d, lost: %d; reads: %d, torn: %d\n", kWrites, lost, reads.total,
                reads.torn);
    EXPECT_EQ(lost, 0);
    EXPECT_GT(reads.total, 0);
    EXPECT_EQ(reads.torn, 0);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name),
              (QStringList{QStringLiteral("Damo32.ini"), QStringLiteral("Pendra.ini"),
                           QStringLiteral("registry.reg")}));
}

// ---- Two transfer programs on one machine ----------------------------------------------

namespace {

// Marks on bookings: supplier invoices carry theirs in a column of their own.
const QString kMarked = QStringLiteral(
    "select (select count(*) from Buchung where Bu_kz = 'B') + "
    "(select count(*) from Buchung where Bu_kz_kr = 'B')");

std::unique_ptr<QProcess> startBookings() {
    return start(QStringLiteral(PENDRA_TRANSFER),
                 {QStringLiteral("--batch"), QStringLiteral("buchungen"), QStringLiteral("--yes")});
}

// Puts a shell script in the place of DATEV's converter; the converter itself stays beside
// it as "damo32.exe.echt".
void replaceConverter(const DemoMachine& machine, const QByteArray& script) {
    const QString converter = machine.path(QStringLiteral("Datev/damo32.exe"));
    if (!QFile::exists(converter + QStringLiteral(".echt"))) {
        ASSERT_TRUE(QFile::rename(converter, converter + QStringLiteral(".echt")));
    }
    QFile::remove(converter);
    machine.writeFile(QStringLiteral("Datev/damo32.exe"), "#!/bin/sh\n" + script);
    QFile::setPermissions(converter, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// Every interface line of the temporary folder, files in name order.
QList<QByteArray> interfaceLines(const DemoMachine& machine) {
    QList<QByteArray> lines;
    const QDir tmp(machine.tmpFolder());
    for (const QString& name : tmp.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name)) {
        QList<QByteArray> fileLines = machine.readFile(QStringLiteral("tmp/") + name).split('\n');
        fileLines.removeLast();
        lines += fileLines;
    }
    return lines;
}

const QString kSecondRun = QStringLiteral("läuft bereits");

// Ends the process of the pid in the file when the test ends, however it ends.
struct KillOnExit {
    QString pidFile;
    ~KillOnExit() {
        QFile file(pidFile);
        if (file.open(QIODevice::ReadOnly)) {
            const pid_t pid = file.readAll().trimmed().toInt();
            if (pid > 0) {
                ::kill(pid, SIGKILL);
            }
        }
    }
};

}  // namespace

TEST(TwoTransferPrograms, StartedAtOnceOneRunsTheOtherEndsWithAMessageAndMarksNothing) {
    const DemoMachine machine(DemoMachine::Data::Demo);
    // A slower converter keeps the first run going while the second starts.
    replaceConverter(machine, "sleep 0.3\nexec \"$0.echt\" \"$@\"\n");
    const std::unique_ptr<QProcess> runs[] = {startBookings(), startBookings()};
    for (const auto& run : runs) {
        ASSERT_TRUE(run->waitForFinished(90000));
    }
    const bool firstWon = runs[0]->exitCode() == 0;
    QProcess& winner = *runs[firstWon ? 0 : 1];
    QProcess& loser = *runs[firstWon ? 1 : 0];
    const QString winnerOut = QString::fromUtf8(winner.readAllStandardOutput());
    EXPECT_EQ(winner.exitCode(), 0) << winner.readAllStandardError().toStdString();
    EXPECT_EQ(loser.exitCode(), 1);
    EXPECT_TRUE(loser.readAllStandardOutput().isEmpty());
    const QString loserErr = QString::fromUtf8(loser.readAllStandardError());
    EXPECT_TRUE(loserErr.contains(kSecondRun) && loserErr.contains(machine.tmpFolder()))
        << loserErr.toStdString();

    // Each booking of the year went into one interface line and to the converter once.
    EXPECT_TRUE(winnerOut.contains(QStringLiteral("Es wurden insgesamt 440 Buchungssätze")))
        << winnerOut.toStdString();
    EXPECT_EQ(machine.convertedRecords(), 440);
    const QList<QByteArray> lines = interfaceLines(machine);
    EXPECT_EQ(lines.size(), 440);
    EXPECT_EQ(std::set<QByteArray>(lines.begin(), lines.end()).size(),
              static_cast<std::size_t>(lines.size()));
}

TEST(TwoTransferPrograms, TheWindowTellsOfTheOtherRunAndAKilledHolderBlocksNoLaterRun) {
    const DemoMachine machine(DemoMachine::Data::Demo);
    // The first converter started stays running until the test ends it, and so does the run
    // that started it; later ones convert.
    const KillOnExit converterEnds{machine.path(QStringLiteral("converter.pid"))};
    const QByteArray pidFile = converterEnds.pidFile.toUtf8();
    replaceConverter(machine, "[ -e \"" + pidFile +
                                  "\" ] && exec \"$0.echt\" \"$@\"\necho $$ > \"" + pidFile +
                                  "\"\nexec sleep 120\n");
    const auto holder = startBookings();
    const QDeadlineTimer deadline(60000);
    while (!QFile::exists(converterEnds.pidFile) && !deadline.hasExpired()) {
        QThread::msleep(20);
    }
    ASSERT_TRUE(QFile::exists(converterEnds.pidFile))
        << holder->readAllStandardError().toStdString();
    const QString marked = machine.rows(kMarked).value(0);

    ui::RecordingMessageSink messages;
    transfer::StartForm form(messages);
    form.BwOutp_Click(0);
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_TRUE(messages.texts()[0].contains(kSecondRun)) << messages.texts()[0].toStdString();
    EXPECT_EQ(machine.rows(kMarked).value(0), marked);

    // The holder dies; the converter it started lives on but must not hold the lock.
    ::kill(static_cast<pid_t>(holder->processId()), SIGKILL);
    ASSERT_TRUE(holder->waitForFinished(10000));
    const auto next = startBookings();
    ASSERT_TRUE(next->waitForFinished(90000));
    EXPECT_EQ(next->exitCode(), 0) << next->readAllStandardError().toStdString();
    EXPECT_EQ(machine.convertedRecords(), 440);
}
