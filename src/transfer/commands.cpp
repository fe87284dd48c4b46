#include "transfer/commands.h"

#include "transfer/CreateQuery.h"
#include "transfer/DBConnect.h"
#include "transfer/RunDamo.h"
#include "transfer/settings_lookup.h"
#include "platform/paths.h"
#include "transfer/text_checks.h"

#include <QStringList>

namespace pendra::transfer {

namespace {

// After an export that wrote records: look up the temporary folder and hand the file over.
void handToDatev(CommandRun& run, const QString& baseName, const QString& typeWord) {
    const QString tmp = tempFolder(run);
    if (tmp.isEmpty()) {
        stopRun(
            run,
            {QStringLiteral("TMP_Path in der {windir}\\Pendra.ini nicht gefunden"),
             QStringLiteral("Bitte eintragen: [tmp_Path] und tmp={Pfad der Temporaerdateien}")});
        return;
    }
    RunDamo::RunPutSelf(run, baseName + QStringLiteral(".txt"), typeWord);
    RunDamo::RunConverter(run, platform::joinPath(tmp, baseName), baseName);
}

}  // namespace

void bookingsCommand(CommandRun& run) {
    QString values;
    DBConnect::CollectValues(QStringLiteral("Ausspielzeitraum"), 5, QString(), QStringLiteral(";"),
                             values);
    const QStringList parts = values.split(QLatin1Char(';'));
    const QString businessYear = parts.value(1);
    const QString shortYear = parts.value(2);
    const QString startDay = parts.value(3);
    const QString endDay = parts.value(4);
    if (businessYear.isEmpty() || shortYear.isEmpty() || startDay.isEmpty() || endDay.isEmpty()) {
        stopRun(run,
                       {QStringLiteral("Der Ausspielzeitraum (Wirtschaftsjahr, Jahr, erster und "
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
    if (CreateQuery::ExportMasterData(run) < 1) {
        return;
    }
    handToDatev(run, QStringLiteral("OPOS-ST-OBE"), QStringLiteral("OPOS"));
}

void accountLabelsCommand(CommandRun& run) {
    if (CreateQuery::ExportAccountLabels(run) < 1) {
        return;
    }
    handToDatev(run, QStringLiteral("FIBU-ST-OBE"), QStringLiteral("FBOP"));
}

}  // namespace pendra::transfer
