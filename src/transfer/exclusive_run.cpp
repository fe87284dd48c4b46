#include "transfer/exclusive_run.h"

#include "common/failure.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/run_lock.h"

#include <QDir>
#include <QFileInfo>

namespace pendra::transfer {

namespace {

// The temporary folder as Pendra.ini names it, read without telling the user: the command
// itself reports a missing one.
QString configuredTempFolder() {
    constexpr int kBufferSize = 255;
    return platform::getPrivateProfileString(QStringLiteral("tmp_Path"), QStringLiteral("tmp"),
                                             QString(), kBufferSize, QStringLiteral("Pendra.ini"));
}

// One name for the folder however Pendra.ini spells it: letter case, links, "..".
QString canonicalFolder(const QString& folder) {
    const QFileInfo info(platform::resolvePath(folder));
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

}  // namespace

void runExclusively(CommandRun& run, void (*command)(CommandRun&)) {
    const QString tmp = configuredTempFolder();
    if (tmp.isEmpty()) {
        command(run);  // stops at its check of the folder, before it writes or marks anything
        return;
    }
    const QString folder = canonicalFolder(tmp);
    const platform::RunLock lock(QStringLiteral("pendra_transfer:") + folder);
    if (lock.heldElsewhere()) {
        throw Failure(QStringLiteral("Eine andere Ausspielung mit dem Temporärverzeichnis „%1“ "
                                     "läuft bereits. Diese Ausspielung wurde nicht begonnen; "
                                     "es wurde nichts geschrieben oder als gebucht "
                                     "gekennzeichnet. Bitte starten Sie sie erneut, wenn die "
                                     "andere beendet ist.")
                          .arg(folder));
    }
    if (!lock.isHeld()) {
        throw Failure(QStringLiteral("Die Sperre gegen eine zweite gleichzeitige Ausspielung "
                                     "kann nicht gesetzt werden: %1")
                          .arg(lock.error()));
    }
    command(run);
}

}  // namespace pendra::transfer
