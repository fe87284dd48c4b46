#include "reliability/crash_machine.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

namespace pendra::test {

namespace {

const QString kMarkerSuffix = QStringLiteral(".nicht-an-DATEV-uebergeben");
const QString kMemoryFolder = QStringLiteral("/dev/shm");

void emptyFolder(const QString& folder) {
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
}

}  // namespace

QList<QByteArray> interfaceLines(const QByteArray& contents) {
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype end = contents.indexOf("\r\n"); end >= 0;
         end = contents.indexOf("\r\n", start)) {
        lines.append(contents.mid(start, end + 2 - start));
        start = end + 2;
    }
    return lines;
}

QByteArray voucherOf(const QByteArray& line) {
    return line.split(';').value(3);
}

CrashMachine::CrashMachine(const QByteArray& yearSql)
    : inMemory_("TMPDIR",
                QFileInfo(kMemoryFolder).isWritable() ? kMemoryFolder : QDir::tempPath()) {
    demo_.exec(QString::fromUtf8(yearSql));
    demo_.exec(QStringLiteral(
        "create table Urzustand as select Id, Bu_kz, Bu_kz_kr, KorrKz from Buchung;"));
}

void CrashMachine::reset() const {
    demo_.exec(QStringLiteral(
        "update Buchung set (Bu_kz, Bu_kz_kr, KorrKz) = (select Bu_kz, Bu_kz_kr, KorrKz "
        "from Urzustand u where u.Id = Buchung.Id);"));
    for (const QString& folder :
         {demo_.tmpFolder(), copies(), demo_.path(QStringLiteral("Datev/Ausgabe"))}) {
        emptyFolder(folder);
    }
    QFile::remove(demo_.path(QStringLiteral("Datev/damo32.log")));
}

std::unique_ptr<QProcess> CrashMachine::startBookingsRun(const QStringList& wrapper) const {
    auto transfer = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // A killed run has no chance to free its memory.
    environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    environment.insert(QStringLiteral("PENDRA_DAMO_COPY_DIR"), copies());
    transfer->setProcessEnvironment(environment);
    transfer->setProcessChannelMode(QProcess::MergedChannels);
    transfer->setStandardOutputFile(output());
    const QStringList command = {QStringLiteral(PENDRA_TRANSFER), QStringLiteral("--batch"),
                                 QStringLiteral("buchungen"), QStringLiteral("--yes")};
    const QStringList line = wrapper + command;
    transfer->start(line.first(), line.mid(1));
    return transfer;
}

QList<CrashMachine::HandedOver> CrashMachine::handedOver() const {
    QList<HandedOver> files;
    for (const QString& name : QDir(copies()).entryList(QDir::Files, QDir::Name)) {
        files.append({name, readBytes(QDir(copies()).filePath(name))});
    }
    return files;
}

int CrashMachine::converterRuns() const {
    QFile log(demo_.path(QStringLiteral("Datev/damo32.log")));
    return log.open(QIODevice::ReadOnly) ? static_cast<int>(log.readAll().count('\n')) : 0;
}

// Every converter copies its input before it logs its run.
bool CrashMachine::convertersDone() const {
    const QDeadlineTimer deadline(30000);
    while (converterRuns() < QDir(copies()).entryList(QDir::Files).size()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QThread::msleep(20);
    }
    return true;
}

QStringList CrashMachine::markers() const {
    return QDir(demo_.tmpFolder()).entryList({u'*' + kMarkerSuffix}, QDir::Files);
}

// The marker's fourth line is the size its marking under way covers.
QSet<QByteArray> CrashMachine::pendingLines() const {
    QSet<QByteArray> lines;
    const QDir tmp(demo_.tmpFolder());
    for (const QString& marker : markers()) {
        const qint64 covered = readBytes(tmp.filePath(marker)).split('\n').value(3).toLongLong();
        QFile file(tmp.filePath(marker.chopped(kMarkerSuffix.size()) + QStringLiteral(".txt")));
        if (file.open(QIODevice::ReadOnly)) {
            for (const QByteArray& line : interfaceLines(file.read(covered))) {
                lines.insert(line);
            }
        }
    }
    return lines;
}

// A marker's lines: confirmed size, covered size, records, view, filter (from the third on).
CrashMachine::Unfinished CrashMachine::unfinishedStep() const {
    const QDir tmp(demo_.tmpFolder());
    for (const QString& marker : markers()) {
        const QList<QByteArray> state = readBytes(tmp.filePath(marker)).split('\n');
        const int records = state.value(4).toInt();
        const QString offered =
            QStringLiteral("select count(*) from [%1]%2")
                .arg(QString::fromUtf8(state.value(5)), QString::fromUtf8(state.value(6)));
        if (records > 0 && demo_.rows(offered).value(0).toInt() >= records) {
            return Unfinished::Marking;
        }
        const QString file = marker.chopped(kMarkerSuffix.size()) + QStringLiteral(".txt");
        if (QFileInfo(tmp.filePath(file)).size() > state.value(3).toLongLong()) {
            return Unfinished::Export;
        }
    }
    return Unfinished::Nothing;
}

QStringList CrashMachine::markedVouchers() const {
    return demo_.rows(
        QStringLiteral("select Beleg1 from Buchung where (Bu_kz = 'B' or Bu_kz_kr = 'B') "
                       "and KorrKz = 0"));
}

QStringList CrashMachine::markingState() const {
    return demo_.rows(
        QStringLiteral("select Id, Bu_kz, Bu_kz_kr, KorrKz from Buchung order by Id"));
}

}  // namespace pendra::test
