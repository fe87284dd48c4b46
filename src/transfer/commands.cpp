#include "transfer/commands.h"

#include "transfer/CreateQuery.h"
#include "transfer/DBConnect.h"
#include "transfer/RunDamo.h"
#include "transfer/settings_lookup.h"
#include "transfer/shared_connection.h"
#include "transfer/text_checks.h"

#include <QStringList>

#include <algorithm>

namespace pendra::transfer {

namespace {

// The temporary folder, or the empty text after telling the user how to enter it.
QString tempFolderOrStop(CommandRun& run) {
    const QString tmp = tempFolder(run);
    if (tmp.isEmpty()) {
        stopRun(
            run,
            {QStringLiteral("TMP_Path in der {windir}\\Pendra.ini nicht gefunden"),
             QStringLiteral("Bitte eintragen: [tmp_Path] und tmp={Pfad der Temporaerdateien}")});
    }
    return tmp;
}

// Hands an exported file to DATEV; once it is handed over, no later run needs to.
void handOver(CommandRun& run, const PendingFile& file) {
    const QString tmp = tempFolderOrStop(run);
    if (tmp.isEmpty()) {
        return;
    }
    RunDamo::handToDatev(run, tmp, file.baseName, file.typeWord, file.formatName);
    if (!run.stopped()) {
        clearPending(tmp, file.baseName);
    }
}

const Command* commandWhere(const char* Command::*field, QStringView text) {
    const auto found = std::find_if(kCommands.begin(), kCommands.end(), [&](const Command& c) {
        return text == QLatin1StringView(c.*field);
    });
    return found == kCommands.end() ? nullptr : &*found;
}

}  // namespace

const Command* commandOfBatchWord(QStringView word) {
    return commandWhere(&Command::batchWord, word);
}

const Command* commandOfMenuEntry(QStringView objectName) {
    return commandWhere(&Command::menuEntry, objectName);
}

void bookingsCommand(CommandRun& run) {
    const SharedConnection connection;
    QString values;
    DBConnect::CollectValues(QStringLiteral("Ausspielzeitraum"), 5, QString(), QStringLiteral(";"),
                             values);
    const QStringList parts = values.split(QLatin1Char(';'));
    const QString businessYear = parts.value(1);
    const QString shortYear = parts.value(2);
    const QString startDay = parts.value(3);
    const QString endDay = parts.value(4);
    if (businessYear.isEmpty() || shortYear.isEmpty() || startDay.isEmpty() || endDay.isEmpty()) {
        stopRun(run, {QStringLiteral("Der Ausspielzeitraum (Wirtschaftsjahr, Jahr, erster und "
                                     "letzter Tag) ist in der Datenbank nicht vollständig "
                                     "eingetragen. Ausspielung ist abgebrochen.")});
        return;
    }
    // Both values go into the database queries as numbers.
    if (!isWholeNumber(businessYear) || !isWholeNumber(shortYear)) {
        stopRun(run, {QStringLiteral("Der Ausspielzeitraum enthält ungültige Werte "
                                     "(Wirtschaftsjahr „%1“, Jahr „%2“); erwartet werden "
                                     "ganze Zahlen. Ausspielung ist abgebrochen.")
                          .arg(businessYear, shortYear)});
        return;
    }
    CreateQuery::RunBookingExport(run, businessYear, shortYear, startDay + businessYear,
                                  endDay + businessYear);
}

void masterDataCommand(CommandRun& run) {
    const SharedConnection connection;
    if (CreateQuery::ExportMasterData(run) < 1) {
        return;
    }
    handOver(run, CreateQuery::masterDataFile());
}

void accountLabelsCommand(CommandRun& run) {
    const SharedConnection connection;
    if (CreateQuery::ExportAccountLabels(run) < 1) {
        return;
    }
    handOver(run, CreateQuery::accountLabelsFile());
}

}  // namespace pendra::transfer
