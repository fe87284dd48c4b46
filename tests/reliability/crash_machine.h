#pragma once

#include "support/demo_machine.h"

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>

namespace pendra::test {

// The lines of an interface file, each with its CR LF.
QList<QByteArray> interfaceLines(const QByteArray& contents);
// The voucher of a bookings line; every booking of the generated year has its own.
QByteArray voucherOf(const QByteArray& line);

// A demo machine holding a business year, which can be put back to the year as it was
// filled. Its converter keeps a copy of every interface file handed to it. It lies in memory
// where the system offers a folder there: a killed process leaves its written data to the
// system anyway, and syncs cost no disk time.
class CrashMachine {
public:
    explicit CrashMachine(const QByteArray& yearSql);

    const DemoMachine& demo() const { return demo_; }
    // The year as generated: no booking marked, no interface file, nothing handed over.
    void reset() const;
    // `pendra_transfer --batch buchungen --yes`, started, behind the wrapper program and its
    // arguments if one is given.
    [[nodiscard]] std::unique_ptr<QProcess> startBookingsRun(const QStringList& wrapper = {}) const;
    // Where the last run's output went.
    [[nodiscard]] QString output() const { return demo_.path(QStringLiteral("transfer.out")); }

    // The interface files as the converter read them, with their numbered names.
    struct HandedOver {
        QString name;
        QByteArray contents;
    };
    [[nodiscard]] QList<HandedOver> handedOver() const;
    // Converter runs that ended, from the converter's own log.
    [[nodiscard]] int converterRuns() const;
    // Converters still running after a kill have finished.
    [[nodiscard]] bool convertersDone() const;
    [[nodiscard]] QStringList markers() const;
    // Lines of interface files that a marker says hold marked records, up to the size its
    // marking under way covers.
    [[nodiscard]] QSet<QByteArray> pendingLines() const;
    // The step a killed run left unfinished, read from the markers, the interface files and
    // the database: lines that no marking covers yet, or a marking not yet committed.
    enum class Unfinished { Nothing, Export, Marking };
    [[nodiscard]] Unfinished unfinishedStep() const;
    // Vouchers of bookings marked booked with no correction waiting.
    [[nodiscard]] QStringList markedVouchers() const;
    // Every booking's marking columns, to compare two runs' end states.
    [[nodiscard]] QStringList markingState() const;

private:
    QString copies() const { return demo_.path(QStringLiteral("an-DATEV")); }

    ScopedEnv inMemory_;
    DemoMachine demo_;
};

}  // namespace pendra::test
