#include "transfer/pending_handover.h"

#include "common/failure.h"
#include "platform/paths.h"
#include "platform/system_error_text.h"
#include "transfer/DBConnect.h"
#include "transfer/RunDamo.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <unistd.h>

#include <cerrno>

namespace pendra::transfer {

namespace {

// Beside the interface file, named so that users see what it stands for.
const QString kSuffix = QStringLiteral(".nicht-an-DATEV-uebergeben");

QString markerOf(const QString& tmp, const QString& baseName) {
    return platform::joinPath(tmp, baseName + kSuffix);
}

// One value a line: type word, format name, confirmed size, attempted size, records of the
// attempt, their view, the filter they were exported with and the one that marks them.
struct MarkerState {
    QString typeWord;
    QString formatName;
    qint64 confirmed = 0;
    qint64 attempted = 0;
    int records = 0;
    QString view;
    QString filter;
    QString markFilter;
};

// Writes and syncs the file; returns the cause when that fails, otherwise the empty text.
// Qt knows nothing of a failed sync or rename: their cause is the system's error.
QString writeSynced(const QString& path, const QByteArray& contents) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(contents) != contents.size() || !file.flush()) {
        return file.errorString();
    }
    return ::fsync(file.handle()) == 0 ? QString() : qt_error_string(errno);
}

// Replaced whole and synced, so that a crash leaves the old or the new state.
void writeMarker(const QString& path, const MarkerState& state) {
    const QStringList lines = {state.typeWord,
                               state.formatName,
                               QString::number(state.confirmed),
                               QString::number(state.attempted),
                               QString::number(state.records),
                               state.view,
                               state.filter,
                               state.markFilter};
    const QByteArray contents = (lines.join(u'\n') + u'\n').toUtf8();
    const QString temporary = path + QStringLiteral(".neu");
    QString cause = writeSynced(temporary, contents);
    if (cause.isEmpty() && ::rename(QFile::encodeName(temporary).constData(),
                                    QFile::encodeName(path).constData()) != 0) {
        cause = qt_error_string(errno);
    }
    if (!cause.isEmpty()) {
        QFile::remove(temporary);
        throw Failure(QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden: %2")
                          .arg(path, platform::germanSystemError(cause)));
    }
}

std::optional<MarkerState> readMarker(const QString& path) {
    QFile marker(path);
    if (!marker.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const QStringList lines = QString::fromUtf8(marker.readAll()).split(u'\n');
    if (lines.size() < 8) {
        return std::nullopt;
    }
    return MarkerState{lines[0],
                       lines[1],
                       lines[2].toLongLong(),
                       lines[3].toLongLong(),
                       lines[4].toInt(),
                       lines[5],
                       lines[6],
                       lines[7]};
}

// How much of the file holds marked records. A marking that was under way began when the
// database no longer offers all the records it covered; its statements run once more, so
// that a crash between them (a correction key not yet cleared) leaves nothing to go twice.
qint64 markedSize(const MarkerState& state) {
    if (state.attempted <= state.confirmed || state.view.isEmpty()) {
        return state.confirmed;
    }
    QString ignored;
    const int offered =
        DBConnect::CollectValues(state.view, 1, state.filter, QStringLiteral(";"), ignored);
    if (offered >= state.records) {
        return state.confirmed;
    }
    DBConnect::MarkBooked(state.view, state.markFilter);
    return state.attempted;
}

}  // namespace

void PendingMarker::beforeMarking(qint64 size, const MarkingUnderWay& marking) {
    attempted_ = size;
    writeMarker(markerOf(tmp_, file_.baseName),
                {file_.typeWord, file_.formatName, confirmed_, attempted_, marking.records,
                 marking.view, marking.filter, marking.markFilter});
}

// The marker on disk is left as it is: should the run end before the next marking, the
// database shows this one done, and a later run reads the marker the same way.
void PendingMarker::afterMarking() {
    confirmed_ = attempted_;
}

void clearPending(const QString& tmp, const QString& baseName) {
    QFile::remove(markerOf(tmp, baseName));
}

void handOverLeftovers(CommandRun& run, const QString& tmp, const QString& prefix) {
    const QStringList markers =
        QDir(tmp).entryList({prefix + u'*' + kSuffix}, QDir::Files, QDir::Name);
    for (const QString& name : markers) {
        const QString baseName = name.chopped(kSuffix.size());
        const auto state = readMarker(platform::joinPath(tmp, name));
        const QString fileName = baseName + QStringLiteral(".txt");
        QFile file(platform::resolvePath(platform::joinPath(tmp, fileName)));
        const qint64 size = state ? markedSize(*state) : 0;
        if (size > 0 && (file.size() < size || !file.resize(size))) {
            run.messages().show(
                QStringLiteral("Die Datei „%1“ sollte Sätze enthalten, die beim letzten Lauf als "
                               "gebucht gekennzeichnet, aber nicht mehr an DATEV übergeben "
                               "wurden; sie fehlt oder ist unvollständig. Bitte übergeben Sie "
                               "diese Sätze von Hand an DATEV.")
                    .arg(fileName),
                {}, ui::Icon::Warning);
        } else if (size > 0) {
            run.messages().show(
                QStringLiteral("Die Datei „%1“ enthält Sätze, die beim letzten Lauf als gebucht "
                               "gekennzeichnet, aber nicht mehr an DATEV übergeben wurden. Sie "
                               "wird jetzt nachträglich übergeben.")
                    .arg(fileName));
            RunDamo::handToDatev(run, tmp, baseName, state->typeWord, state->formatName);
            if (run.stopped()) {
                return;
            }
        }
        clearPending(tmp, baseName);
    }
}

}  // namespace pendra::transfer
