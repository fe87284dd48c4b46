// Measures the whole bookings run of a business year against its own floor. A year of
// bookings (5 bank accounts, 12 months, cash, purchases, sales and credit notes) goes into a
// demo machine; `pendra_transfer --batch buchungen --yes` runs on it with the driver's trace
// file on, which records every SQL statement the run sends and how long SQLite took for it.
// The floor is the sqlite3 shell running exactly those statements on a copy of the same
// database. A second run, with a converter that waits 5 s, gives the processor time the
// transfer program uses while it waits.
//
//   year_bench DEMO_DIR TOOLS_DIR PENDRA_TRANSFER [BOOKINGS]

#include "bench_tools.h"
#include "support/year_data.h"
#include "transfer/DBConnect.h"
#include "transfer/odbc.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <vector>

extern char** environ;

namespace {

using pendra::bench::quit;
using pendra::bench::runTool;

constexpr int kConverterDelayMs = 5000;

// Wall and processor time of one run of a program (its own and its waited-for children's).
struct RunTimes {
    double wall = 0;
    double processor = 0;
};

double seconds(const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

pid_t spawn(const QString& program, const QStringList& args) {
    std::vector<QByteArray> texts = {QFile::encodeName(program)};
    for (const QString& arg : args) {
        texts.push_back(arg.toLocal8Bit());
    }
    std::vector<char*> argv;
    for (QByteArray& text : texts) {
        argv.push_back(text.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        quit(QStringLiteral("cannot start ") + program);
    }
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

RunTimes runMeasured(const QString& program, const QStringList& args) {
    QElapsedTimer timer;
    timer.start();
    const pid_t pid = spawn(program, args);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const double wall = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        quit(program + QStringLiteral(" ended with status ") + QString::number(status));
    }
    return {wall, seconds(usage.ru_utime) + seconds(usage.ru_stime)};
}

QByteArray procFile(pid_t pid, const QString& name) {
    QFile file(QStringLiteral("/proc/%1/%2").arg(pid).arg(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Processor time of the process so far (user and system), from /proc.
double processorSeconds(pid_t pid) {
    const QByteArray stat = procFile(pid, QStringLiteral("stat"));
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    const double ticks = static_cast<double>(sysconf(_SC_CLK_TCK));
    return (fields.value(11).toDouble() + fields.value(12).toDouble()) / ticks;
}

bool convertersRunning(pid_t pid) {
    const QByteArray children = procFile(pid, QStringLiteral("task/%1/children").arg(pid));
    for (const QByteArray& child : children.split(' ')) {
        if (!child.isEmpty() &&
            procFile(child.toInt(), QStringLiteral("comm")).startsWith("damo32")) {
            return true;
        }
    }
    return false;
}

// The processor time a run uses while the converters it started are running, sampled every
// 20 ms from /proc: the run's own time, not the time of everything else the run does.
struct Waiting {
    double observed = 0;   // wall time in which a converter was seen running
    double processor = 0;  // the run's processor time in it
};

Waiting processorWhileConverting(const QString& program, const QStringList& args) {
    const pid_t pid = spawn(program, args);
    Waiting waiting;
    QElapsedTimer sinceSample;
    sinceSample.start();
    double before = processorSeconds(pid);
    bool converting = false;
    for (int status = 0; waitpid(pid, &status, WNOHANG) == 0;) {
        const bool nowConverting = convertersRunning(pid);
        const double now = processorSeconds(pid);
        if (converting && nowConverting) {
            waiting.processor += now - before;
            waiting.observed += static_cast<double>(sinceSample.nsecsElapsed()) / 1e9;
        }
        sinceSample.restart();
        before = now;
        converting = nowConverting;
        usleep(20000);
    }
    return waiting;
}

// The statements of the driver's trace file, and SQLite's time for each kind.
struct Trace {
    QByteArray statements;
    int connections = 0;
    double exportSeconds = 0;
    double markSeconds = 0;
};

Trace readTrace(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        quit(QStringLiteral("no trace file ") + path);
    }
    Trace trace;
    const QRegularExpression took(QStringLiteral("^-- took (\\d+)\\.(\\d+) seconds"));
    QByteArray last;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine();
        const auto match = took.match(QString::fromUtf8(line));
        if (match.hasMatch()) {
            const double time = match.captured(1).toDouble() + match.captured(2).toDouble() / 1e9;
            if (last.startsWith("select * from [Datev_")) {
                trace.exportSeconds += time;
            } else if (last.startsWith("update")) {
                trace.markSeconds += time;
            }
        } else if (line.startsWith("-- sqlite3_open")) {
            ++trace.connections;
        } else if (!line.startsWith("--")) {
            trace.statements += line;
            last = line;
        }
    }
    return trace;
}

double connectionSeconds() {
    constexpr int kConnections = 50;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < kConnections; ++i) {
        const pendra::transfer::odbc::Connection connection(
            pendra::transfer::DBConnect::connectionText());
    }
    return static_cast<double>(timer.nsecsElapsed()) / 1e9 / kConnections;
}

// A demo machine holding the year, and a copy of its database as it was before any run.
class YearMachine {
public:
    YearMachine(const QString& demo, const QString& tools, int bookings)
        : root_(dir_.filePath(QStringLiteral("machine"))) {
        runTool(demo + QStringLiteral("/make-demo-machine"),
                {root_, QStringLiteral("--schema-only"), QStringLiteral("--tools"), tools}, {},
                dir_.filePath(QStringLiteral("make.log")));
        runTool(QStringLiteral("sqlite3"), {database()}, pendra::test::yearData(bookings),
                dir_.filePath(QStringLiteral("fill.log")));
        QFile::copy(database(), pristine());
        QFile odbcIni(root_ + QStringLiteral("/odbc/odbc.ini"));
        if (!odbcIni.open(QIODevice::Append)) {
            quit(QStringLiteral("cannot write odbc.ini"));
        }
        odbcIni.write("Tracefile=" + QFile::encodeName(tracePath()) + "\n");
        qputenv("ODBCSYSINI", QFile::encodeName(root_ + QStringLiteral("/odbc")));
        qputenv("ODBCINI", QFile::encodeName(root_ + QStringLiteral("/odbc/odbc.ini")));
        qputenv("PENDRA_SYSTEM_ROOT", QFile::encodeName(root_ + QStringLiteral("/system")));
    }

    QString database() const { return root_ + QStringLiteral("/Pendra_db.sqlite"); }
    QString pristine() const { return dir_.filePath(QStringLiteral("pristine.sqlite")); }
    QString tracePath() const { return dir_.filePath(QStringLiteral("trace.sql")); }
    QString file(const QString& name) const { return dir_.filePath(name); }
    QString converter() const { return root_ + QStringLiteral("/Datev/damo32.exe"); }

    // The database as before any run, no interface or marker files, an empty trace.
    void reset() const {
        QFile::remove(database());
        QFile::copy(pristine(), database());
        QFile::remove(tracePath());
        for (const QString& folder : {QStringLiteral("/tmp"), QStringLiteral("/Datev/Ausgabe")}) {
            QDir(root_ + folder).removeRecursively();
            QDir().mkpath(root_ + folder);
        }
    }

    int converterRuns() const {
        QFile log(root_ + QStringLiteral("/Datev/damo32.log"));
        return log.open(QIODevice::ReadOnly) ? static_cast<int>(log.readAll().count('\n')) : 0;
    }

private:
    QTemporaryDir dir_;
    QString root_;
};

double floorSeconds(const YearMachine& machine, const QByteArray& statements) {
    const QString copy = machine.file(QStringLiteral("floor.sqlite"));
    QFile::remove(copy);
    QFile::copy(machine.pristine(), copy);
    QElapsedTimer timer;
    timer.start();
    runTool(QStringLiteral("sqlite3"), {QStringLiteral("-csv"), copy}, statements,
            machine.file(QStringLiteral("floor.csv")));
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

void printShare(const char* what, double time, double total) {
    std::printf("  %-36s %7.3f s  %5.1f %%\n", what, time, 100.0 * time / total);
}

// The converter's own time: as many runs of it alone as the measured run made.
double converterSeconds(const YearMachine& machine, int converters) {
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < converters; ++i) {
        runTool(machine.converter(), {}, {}, QStringLiteral("/dev/null"));
    }
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

struct YearFigures {
    int bookings = 0;
    RunTimes run;
    Trace trace;
    double floor = 0;
    double connection = 0;
    double converter = 0;
    int converters = 0;
    Waiting wait;
};

void printYear(const YearFigures& year) {
    const double wall = year.run.wall;
    std::printf("Buchungen:                         %d (+ 8000 Kasse, Waren, Erlöse, Gut)\n",
                year.bookings);
    std::printf("pendra_transfer --batch buchungen: %.3f s\n", wall);
    std::printf("Boden (sqlite3, gleiche SQL):      %.3f s (%d Anweisungen)\n", year.floor,
                static_cast<int>(year.trace.statements.count(";\n")));
    std::printf("Lauf / Boden:                      %.2f (Ziel: hoechstens 1,5)\n",
                wall / year.floor);
    std::printf("Anteile am Lauf:\n");
    printShare("Verbindungsaufbau", year.connection, wall);
    printShare("Ausspielen (SELECT bis Ende)", year.trace.exportSeconds, wall);
    printShare("Kennzeichnen (UPDATE)", year.trace.markSeconds, wall);
    printShare("Konverterlaeufe", year.converter, wall);
    printShare(
        "Uebriges",
        wall - year.connection - year.trace.exportSeconds - year.trace.markSeconds - year.converter,
        wall);
    std::printf(
        "Warten auf %d Konverter zu je %.0f s (beobachtet %.1f s): %.3f s Prozessorzeit = "
        "%.2f %% der Wartezeit (Ziel: unter 2 %%)\n",
        year.converters, kConverterDelayMs / 1000.0, year.wait.observed, year.wait.processor,
        100.0 * year.wait.processor / std::max(year.wait.observed, 1e-9));
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 4) {
        std::fprintf(
            stderr, "Aufruf: year_bench DEMO_ORDNER WERKZEUG_ORDNER PENDRA_TRANSFER [BUCHUNGEN]\n");
        return 2;
    }
    YearFigures year;
    year.bookings = args.size() > 4 ? args[4].toInt() : 50000;
    const YearMachine machine(args[1], args[2], year.bookings);
    const QString transfer = args[3];
    const QStringList command = {QStringLiteral("--batch"), QStringLiteral("buchungen"),
                                 QStringLiteral("--yes")};

    machine.reset();
    year.run = runMeasured(transfer, command);
    year.trace = readTrace(machine.tracePath());
    year.converters = machine.converterRuns();
    year.floor = floorSeconds(machine, year.trace.statements);
    year.connection = connectionSeconds() * year.trace.connections;
    year.converter = converterSeconds(machine, year.converters);

    machine.reset();
    qputenv("PENDRA_DAMO_DELAY_MS", QByteArray::number(kConverterDelayMs));
    year.wait = processorWhileConverting(transfer, command);
    printYear(year);
    return 0;
}
