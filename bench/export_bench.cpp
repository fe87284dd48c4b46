// Measures ExportRecords on 100,000 bookings of one view against two floors measured in the
// same run on the same view: the sqlite3 shell without ODBC, and unixODBC's isql through the
// same data source (the cost of the ODBC driver itself). Prints the times and the ratios.
//
//   export_bench DEMO_DIR [ROWS]

#include "bench_tools.h"
#include "transfer/DBConnect.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

using pendra::bench::runTool;

constexpr int kRounds = 3;

double bestSeconds(const std::function<void()>& run) {
    double best = 1e300;
    for (int i = 0; i < kRounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        best = std::min(best, static_cast<double>(timer.nsecsElapsed()) / 1e9);
    }
    return best;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "Aufruf: export_bench DEMO_ORDNER [ZEILEN]\n");
        return 2;
    }
    const int rows = args.size() > 2 ? args[2].toInt() : 100000;
    QTemporaryDir dir;
    const QString machine = dir.filePath(QStringLiteral("machine"));
    runTool(args[1] + QStringLiteral("/make-demo-machine"),
            {machine, QStringLiteral("--schema-only")}, {},
            dir.filePath(QStringLiteral("make.log")));
    const QString database = machine + QStringLiteral("/Pendra_db.sqlite");
    const QByteArray fill =
        "with recursive n(i) as (select 1 union all select i + 1 from n where i < " +
        QByteArray::number(rows) +
        ")"
        " insert into Buchung (Kategorie, Wert, SH, Gegenkonto, Beleg1, Datum, Konto, Skbetr,"
        " Buchungstext, KorrKz)"
        " select 'kasse', (i % 100000) / 100.0 + 1, 'H', '4930', 'KB' || i,"
        " printf('2026-%02d-%02d', i % 12 + 1, i % 28 + 1), '1000', 0,"
        " 'Bürobedarf und Porto ' || i, case when i % 1000 = 0 then 40 else 0 end from n;";
    runTool(QStringLiteral("sqlite3"), {database}, fill, dir.filePath(QStringLiteral("fill.log")));

    qputenv("ODBCSYSINI", QFile::encodeName(machine + QStringLiteral("/odbc")));
    qputenv("ODBCINI", QFile::encodeName(machine + QStringLiteral("/odbc/odbc.ini")));
    qputenv("PENDRA_SYSTEM_ROOT", QFile::encodeName(machine + QStringLiteral("/system")));

    const QByteArray select = "select * from [Datev_kasse]";
    const double shell = bestSeconds([&] {
        runTool(QStringLiteral("sqlite3"),
                {QStringLiteral("-csv"), database, QString::fromLatin1(select)}, {},
                dir.filePath(QStringLiteral("sqlite3.csv")));
    });
    const double isql = bestSeconds([&] {
        runTool(QStringLiteral("isql"),
                {QStringLiteral("-b"), QStringLiteral("-d;"), QStringLiteral("Pendra_db")},
                select + "\n", dir.filePath(QStringLiteral("isql.txt")));
    });
    int written = 0;
    const double exportTime = bestSeconds([&] {
        written =
            pendra::transfer::DBConnect::ExportRecords(
                QStringLiteral("Datev_kasse"), machine + QStringLiteral("/tmp/FIBU-BW.Kasse.txt"),
                14, QString(), QStringLiteral(";"), pendra::transfer::DBConnect::Mode::NewFile)
                .records;
    });
    if (written != rows) {
        std::fprintf(stderr, "ExportRecords schrieb %d statt %d Zeilen\n", written, rows);
        return 1;
    }
    std::printf("Zeilen:                 %d\n", rows);
    std::printf("sqlite3 -csv:           %.3f s\n", shell);
    std::printf("isql -b (ODBC):         %.3f s\n", isql);
    std::printf("ExportRecords:          %.3f s\n", exportTime);
    std::printf("ExportRecords / isql:   %.2f (Ziel: hoechstens 0,7)\n", exportTime / isql);
    std::printf("ExportRecords / sqlite3: %.2f (Ziel: hoechstens 1,6)\n", exportTime / shell);
    return 0;
}
