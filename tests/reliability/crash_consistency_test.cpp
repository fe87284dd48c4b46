// Bookings runs killed with SIGKILL at many moments lose no booking. A chain starts from the
// generated year: its first run is killed anywhere, the next ones soon after their start, each
// picking up what the last left, and a last run completes. Only the transfer program is
// killed: a converter it started runs on, as DATEV's would. After every kill each booking
// marked booked has its line, byte for byte as an uninterrupted run wrote it, in a file the
// converter read or in an interface file whose marker covers it, and the settings and the
// registry read as before. At the end of a chain the converter has read every line of the
// uninterrupted run exactly once, and the database shows what the uninterrupted run left.
// A second series kills each run just before a chosen call of write, fsync, fdatasync,
// rename or unlink, the moments between the steps that random moments rarely hit.
#include "reliability/crash_machine.h"
#include "reliability/run_phase.h"
#include "reliability/settings_snapshot.h"
#include "support/year_data.h"

#include <QElapsedTimer>
#include <QHash>
#include <QMap>
#include <QThread>

#include <gtest/gtest.h>

#include <array>
#include <csignal>
#include <cstdio>
#include <random>

using namespace pendra::test;

namespace {

constexpr int kKillsPerCase = 100;
constexpr int kKillsPerChain = 25;
// Runs after the first of a chain are killed within this share of an uninterrupted run.
constexpr double kEarlyShare = 0.15;

// Besides the generated year: new corrections, and booked records whose correction waits.
QByteArray year() {
    return yearData(3000, 1200, 3) +
           "update Buchung set KorrKz = 40 where Beleg1 in ('BB101', 'BB1502', 'RE9');"
           "update Buchung set Bu_kz = 'B', KorrKz = 40 where Beleg1 in ('BB100', 'BB2003', "
           "'RE4');";
}

// What one uninterrupted run on the generated year hands to DATEV and leaves in the database.
struct Reference {
    QHash<QByteArray, QByteArray> lineOf;  // by voucher
    // The marking covers the whole period, so cancelled invoices are marked without a line.
    QSet<QString> markedWithoutLine;
    QStringList endState;
    qint64 runMs = 0;
};

Reference referenceRun(const CrashMachine& machine) {
    QElapsedTimer timer;
    timer.start();
    const auto run = machine.startBookingsRun();
    EXPECT_TRUE(run->waitForFinished(-1) && run->exitStatus() == QProcess::NormalExit &&
                run->exitCode() == 0);
    Reference reference;
    reference.runMs = timer.elapsed();
    for (const auto& file : machine.handedOver()) {
        for (const QByteArray& line : interfaceLines(file.contents)) {
            EXPECT_FALSE(reference.lineOf.contains(voucherOf(line))) << line.toStdString();
            reference.lineOf.insert(voucherOf(line), line);
        }
    }
    // Every booking but the cancelled invoices goes out.
    EXPECT_EQ(QString::number(reference.lineOf.size()),
              machine.demo()
                  .rows(QStringLiteral("select count(*) from Buchung where not "
                                       "(Kategorie = 'Rechnungen' and storno = 'Ja')"))
                  .value(0));
    reference.endState = machine.markingState();
    for (const QString& voucher : machine.markedVouchers()) {
        if (!reference.lineOf.contains(voucher.toUtf8())) {
            reference.markedWithoutLine.insert(voucher);
        }
    }
    return reference;
}

// A DATEV program running shows the hand-over; otherwise what the run left unfinished.
RunPhase phaseOf(const ProcessView& seen, CrashMachine::Unfinished unfinished) {
    if (seen.runsDatevProgram) {
        return RunPhase::HandOver;
    }
    if (!seen.holdsDatabase) {
        return RunPhase::StartUp;
    }
    if (unfinished == CrashMachine::Unfinished::Marking) {
        return RunPhase::Marking;
    }
    return seen.holdsInterfaceFile || unfinished == CrashMachine::Unfinished::Export
               ? RunPhase::Export
               : RunPhase::Database;
}

struct Figures {
    int kills = 0;
    int chains = 0;
    qint64 recordsChecked = 0;
    int lostWrites = 0;       // marked, and its line nowhere on disk after a kill
    int neverHandedOver = 0;  // not read by the converter when a chain ended
    int sentTwice = 0;        // read twice, apart from whole files handed over twice
    int unknownLines = 0;     // not as the uninterrupted run wrote them
    int filesHandedTwice = 0;
    int killsMidYear = 0;  // some bookings marked, not all
    int lockRefusals = 0;  // runs that found the run lock still taken and started again
    std::array<int, kRunPhases> phases{};
    QMap<QString, int> killsAtCall;
    QStringList faults;

    void fault(const QString& text) {
        if (faults.size() < 20) {
            faults.append(QStringLiteral("chain %1, kill %2: ").arg(chains).arg(kills) + text);
        }
    }

    void print(const char* name) const {
        std::printf(
            "%s: %d kills in %d chains, %lld marked records checked, lost writes %d, "
            "never handed over %d, lines twice %d, unknown lines %d, files handed over "
            "twice %d, kills with part of the year marked %d, runs refused by the run lock %d\n"
            "  kills by phase:",
            name, kills, chains, static_cast<long long>(recordsChecked), lostWrites,
            neverHandedOver, sentTwice, unknownLines, filesHandedTwice, killsMidYear, lockRefusals);
        for (int phase = 0; phase < kRunPhases; ++phase) {
            std::printf(" %s %d", phaseName(static_cast<RunPhase>(phase)), phases[phase]);
        }
        std::printf("\n  kills at system calls:");
        for (auto call = killsAtCall.begin(); call != killsAtCall.end(); ++call) {
            std::printf(" %s %d", qPrintable(call.key()), call.value());
        }
        std::printf("\n");
    }
};

class KillChains {
public:
    KillChains(const CrashMachine& machine, const Reference& reference, unsigned seed)
        : machine_(machine),
          reference_(reference),
          settings_(machine.demo()),
          random_(seed),
          anywhere_(0, static_cast<int>(reference.runMs)),
          early_(0, static_cast<int>(kEarlyShare * static_cast<double>(reference.runMs))) {}

    const Figures& figures() const { return figures_; }

    void runChain() {
        machine_.reset();
        ++figures_.chains;
        bool completed = false;
        for (int kill = 0; kill < kKillsPerChain && !completed; ++kill) {
            const From from = kill % 2 == 0 ? From::Start : From::LeftoversHandedOver;
            completed = !killedRun(kill == 0 ? anywhere_(random_) : early_(random_), from);
            if (!completed) {
                checkAfterKill();
            }
        }
        if (!completed) {
            killedRun(-1, From::Start);
        }
        checkChainEnd();
    }

    // Kills each run just before its n-th call of one of the system calls that put lines,
    // markers, settings and markings on disk (through strace), so that the kills fall
    // exactly between the steps a random moment rarely hits.
    void runCallChain(const QList<std::pair<QString, int>>& calls) {
        machine_.reset();
        ++figures_.chains;
        bool completed = false;
        for (int kill = 0; kill < kKillsPerChain && !completed; ++kill) {
            const auto& [call, count] = calls[static_cast<qsizetype>(random_() % calls.size())];
            // The first run of a chain does the whole year, the later ones what is left.
            const int range = std::max(1, kill == 0 ? count : count / 8);
            completed = !killedAtCall(call, std::uniform_int_distribution<int>(1, range)(random_));
            if (!completed) {
                checkAfterKill();
            }
        }
        if (!completed) {
            killedRun(-1, From::Start);
        }
        checkChainEnd();
    }

private:
    // A process the killed run had just started can hold its run lock until that process
    // runs its program; a run that finds the lock taken wrote and marked nothing, and is
    // started again a little later. A lock that stays taken is a fault.
    bool refusedForAnotherRun(const QProcess& run) {
        constexpr int kMostRefusals = 50;
        if (run.exitStatus() != QProcess::NormalExit || run.exitCode() != 1 ||
            !readBytes(machine_.output()).contains("läuft bereits") ||
            figures_.lockRefusals >= kMostRefusals) {
            return false;
        }
        ++figures_.lockRefusals;
        QThread::msleep(100);
        return true;
    }

    // Starts a run that strace kills at the n-th call; false when it completed.
    bool killedAtCall(const QString& call, int nth) {
        const auto run = machine_.startBookingsRun(
            {QStringLiteral("strace"), QStringLiteral("-o"), QStringLiteral("/dev/null"),
             QStringLiteral("-e"), QStringLiteral("trace=") + call, QStringLiteral("-e"),
             QStringLiteral("inject=%1:signal=KILL:when=%2").arg(call).arg(nth)});
        run->waitForFinished(-1);
        if (refusedForAnotherRun(*run)) {
            return killedAtCall(call, nth);
        }
        if (run->exitStatus() == QProcess::NormalExit) {
            if (run->exitCode() != 0) {
                figures_.fault(QStringLiteral("run ended with %1: ").arg(run->exitCode()) +
                               QString::fromUtf8(readBytes(machine_.output())));
            }
            return false;
        }
        ++figures_.kills;
        ++figures_.killsAtCall[call];
        // The process is gone; what it left unfinished tells the step it was killed in.
        const CrashMachine::Unfinished unfinished = machine_.unfinishedStep();
        if (unfinished != CrashMachine::Unfinished::Nothing) {
            ++figures_.phases[static_cast<int>(unfinished == CrashMachine::Unfinished::Marking
                                                   ? RunPhase::Marking
                                                   : RunPhase::Export)];
        }
        return true;
    }

    // Half the kills count their offset from the moment a run has handed over what the last
    // one left, so that they also fall where the run gets further.
    enum class From { Start, LeftoversHandedOver };

    // Starts a run and kills it after `offsetMs` (never for -1); false when it completed.
    bool killedRun(int offsetMs, From from) {
        const auto run = machine_.startBookingsRun();
        if (!run->waitForStarted()) {
            figures_.fault(QStringLiteral("pendra_transfer does not start"));
            return false;
        }
        bool ended = false;
        while (from == From::LeftoversHandedOver && !ended && !machine_.markers().isEmpty()) {
            ended = run->waitForFinished(2);
        }
        if (ended || run->waitForFinished(offsetMs)) {
            if (refusedForAnotherRun(*run)) {
                return killedRun(offsetMs, from);
            }
            if (run->exitStatus() != QProcess::NormalExit || run->exitCode() != 0) {
                figures_.fault(QStringLiteral("run ended with %1: ").arg(run->exitCode()) +
                               QString::fromUtf8(readBytes(machine_.output())));
            }
            return false;
        }
        const ProcessView seen = processView(run->processId());
        ::kill(static_cast<pid_t>(run->processId()), SIGKILL);
        run->waitForFinished(-1);
        ++figures_.kills;
        ++figures_.phases[static_cast<int>(phaseOf(seen, machine_.unfinishedStep()))];
        return true;
    }

    void checkAfterKill() {
        QSet<QByteArray> onDisk = machine_.pendingLines();
        for (const auto& file : machine_.handedOver()) {
            for (const QByteArray& line : interfaceLines(file.contents)) {
                onDisk.insert(line);
            }
        }
        const QStringList marked = machine_.markedVouchers();
        figures_.recordsChecked += marked.size();
        qsizetype withLine = 0;
        for (const QString& voucher : marked) {
            const QByteArray line = reference_.lineOf.value(voucher.toUtf8());
            withLine += line.isEmpty() ? 0 : 1;
            if (line.isEmpty() ? !reference_.markedWithoutLine.contains(voucher)
                               : !onDisk.contains(line)) {
                ++figures_.lostWrites;
                figures_.fault(QStringLiteral("booked, but no line on disk: ") + voucher);
            }
        }
        figures_.killsMidYear += withLine > 0 && withLine < reference_.lineOf.size() ? 1 : 0;
        for (const QString& fault : settings_.faults()) {
            figures_.fault(fault);
        }
    }

    // A file read twice whole is the one repetition a kill may cause: the converter had read
    // it, its marker had not gone yet.
    QHash<QByteArray, int> linesHandedOver() {
        QSet<QByteArray> files;
        QHash<QByteArray, int> lines;
        for (const auto& file : machine_.handedOver()) {
            const QByteArray key = file.name.section(u'_', 1).toUtf8() + '\0' + file.contents;
            if (files.contains(key)) {
                ++figures_.filesHandedTwice;
                continue;
            }
            files.insert(key);
            for (const QByteArray& line : interfaceLines(file.contents)) {
                ++lines[line];
            }
        }
        return lines;
    }

    void checkChainEnd() {
        if (!machine_.convertersDone()) {
            figures_.fault(QStringLiteral("a converter did not end"));
        }
        if (!machine_.markers().isEmpty() || machine_.markingState() != reference_.endState) {
            figures_.fault(QStringLiteral("end state differs; markers: ") +
                           machine_.markers().join(u' '));
        }
        const QHash<QByteArray, int> lines = linesHandedOver();
        for (const QByteArray& line : reference_.lineOf) {
            const int times = lines.value(line);
            figures_.neverHandedOver += times == 0 ? 1 : 0;
            figures_.sentTwice += std::max(0, times - 1);
        }
        for (auto line = lines.begin(); line != lines.end(); ++line) {
            if (reference_.lineOf.value(voucherOf(line.key())) != line.key()) {
                ++figures_.unknownLines;
                figures_.fault(QStringLiteral("line unknown: ") + QString::fromLatin1(line.key()));
            }
        }
    }

    const CrashMachine& machine_;
    const Reference& reference_;
    const SettingsSnapshot settings_;
    std::mt19937 random_;
    std::uniform_int_distribution<int> anywhere_;
    std::uniform_int_distribution<int> early_;
    Figures figures_;
};

void expectNothingLost(const Figures& figures) {
    EXPECT_GE(figures.kills, kKillsPerCase);
    EXPECT_EQ(figures.lostWrites, 0);
    EXPECT_EQ(figures.neverHandedOver, 0);
    EXPECT_EQ(figures.sentTwice, 0);
    EXPECT_EQ(figures.unknownLines, 0);
    // Only a kill between a converter's start and the marker's removal hands a file twice.
    EXPECT_LE(figures.filesHandedTwice, figures.kills);
    EXPECT_TRUE(figures.faults.isEmpty()) << figures.faults.join(u'\n').toStdString();
    // Chains reach through the year: most kills fall where part of it is marked.
    EXPECT_GT(figures.killsMidYear, figures.kills / 2);
}

class BookingsRunKilled : public testing::TestWithParam<unsigned> {};

}  // namespace

// Kills at random moments; another seed gives another series.
TEST_P(BookingsRunKilled, AtManyMomentsLosesNoBooking) {
    const CrashMachine machine(year());
    const Reference reference = referenceRun(machine);
    KillChains chains(machine, reference, GetParam());
    while (chains.figures().kills < kKillsPerCase) {
        chains.runChain();
    }
    std::printf("uninterrupted run: %lld ms, %lld records with a line, %lld marked without\n",
                static_cast<long long>(reference.runMs),
                static_cast<long long>(reference.lineOf.size()),
                static_cast<long long>(reference.markedWithoutLine.size()));
    chains.figures().print("killed runs");
    expectNothingLost(chains.figures());
}

INSTANTIATE_TEST_SUITE_P(Series, BookingsRunKilled, testing::Values(20261207u));

namespace {

const QString kSyncCalls = QStringLiteral("write,fsync,fdatasync,rename,unlink");

// How often an uninterrupted run makes each of the calls.
QList<std::pair<QString, int>> callsOfOneRun(const CrashMachine& machine) {
    machine.reset();
    const QString counts = machine.demo().path(QStringLiteral("calls.txt"));
    const auto run = machine.startBookingsRun({QStringLiteral("strace"), QStringLiteral("-c"),
                                               QStringLiteral("-o"), counts, QStringLiteral("-e"),
                                               QStringLiteral("trace=") + kSyncCalls});
    run->waitForFinished(-1);
    QList<std::pair<QString, int>> calls;
    for (const QByteArray& line : readBytes(counts).split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() >= 5 && kSyncCalls.split(u',').contains(fields.last())) {
            calls.append({QString::fromLatin1(fields.last()), fields[3].toInt()});
        }
    }
    return calls;
}

}  // namespace

TEST(BookingsRunKilledAtSystemCalls, JustBeforeAWriteSyncRenameOrRemovalLosesNoBooking) {
    if (QProcess::execute(
            QStringLiteral("strace"),
            {QStringLiteral("-o"), QStringLiteral("/dev/null"), QStringLiteral("true")}) != 0) {
        GTEST_SKIP() << "strace cannot trace here (no strace or no ptrace)";
    }
    const CrashMachine machine(year());
    const Reference reference = referenceRun(machine);
    const auto calls = callsOfOneRun(machine);
    ASSERT_EQ(calls.size(), kSyncCalls.count(u',') + 1);
    KillChains chains(machine, reference, 1207u);
    while (chains.figures().kills < kKillsPerCase) {
        chains.runCallChain(calls);
    }
    chains.figures().print("killed at system calls");
    expectNothingLost(chains.figures());
}
