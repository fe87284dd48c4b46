// A full disk and a folder that cannot be written, as the batch program meets them: the export
// stops with a German message, no record is marked whose line did not reach the disk, and no
// settings file is left half-written. A small tmpfs or a read-only bind mount is used where
// the machine allows mounting; otherwise a file-size limit of the program's process.
#include "support/demo_machine.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSet>

#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <optional>
#include <utility>

using pendra::test::DemoMachine;

namespace {

// A file system mounted over a folder of a test, taken away with the object.
class Mount {
public:
    // A tmpfs of `bytes` over the folder; nothing when the machine does not allow it.
    static std::optional<Mount> tmpfs(const QString& folder, qint64 bytes) {
        const QByteArray options = "size=" + QByteArray::number(bytes);
        return attempt(folder, "tmpfs", "tmpfs", 0, options.constData());
    }

    // The folder again, read-only; nothing when the machine does not allow it.
    static std::optional<Mount> readOnly(const QString& folder) {
        std::optional<Mount> bound = attempt(folder, folder, nullptr, MS_BIND, nullptr);
        if (bound && ::mount(nullptr, bound->target_.constData(), nullptr,
                             MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0) {
            return std::nullopt;
        }
        return bound;
    }

    // Gives the tmpfs room again; what it holds stays.
    bool grow(qint64 bytes) const {
        const QByteArray options = "size=" + QByteArray::number(bytes);
        return ::mount(nullptr, target_.constData(), nullptr, MS_REMOUNT, options.constData()) == 0;
    }

    Mount(Mount&& other) noexcept : target_(std::exchange(other.target_, {})) {}
    Mount& operator=(Mount&& other) noexcept {
        std::swap(target_, other.target_);  // ours goes with `other`
        return *this;
    }
    ~Mount() {
        if (!target_.isEmpty()) {
            ::umount2(target_.constData(), MNT_DETACH);
        }
    }

private:
    explicit Mount(QByteArray target) : target_(std::move(target)) {}

    static std::optional<Mount> attempt(const QString& folder, const QString& source,
                                        const char* type, unsigned long flags,
                                        const char* options) {
        const QByteArray target = QFile::encodeName(folder);
        if (::mount(QFile::encodeName(source).constData(), target.constData(), type, flags,
                    options) != 0) {
            return std::nullopt;
        }
        return Mount(target);
    }

    QByteArray target_;
};

struct Outcome {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs "--batch buchungen"; a limit makes every file the program writes stop at that size.
// SIGXFSZ is ignored, so a write beyond the limit fails with EFBIG as on a full disk.
Outcome bookings(std::optional<rlim_t> limit = std::nullopt) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    process.setProcessEnvironment(environment);
    if (limit) {
        process.setChildProcessModifier([size = *limit] {
            const rlimit fileSize{size, size};
            ::setrlimit(RLIMIT_FSIZE, &fileSize);
            ::signal(SIGXFSZ, SIG_IGN);
        });
    }
    process.start(QStringLiteral(PENDRA_TRANSFER),
                  {QStringLiteral("--batch"), QStringLiteral("buchungen")});
    process.closeWriteChannel();
    process.waitForFinished(60000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// Two short transfers and 150 long payments on one bank account, and a cash booking: the
// payments do not fit a 64 KiB disk.
void addYearThatOverflows(const DemoMachine& machine) {
    machine.exec(QStringLiteral(R"(
        insert into Wirtschaftsjahr values (1, 2026, 26, '0101', '3112');
        insert into Bankkonto (Nr, Bezeichnung, Konto, IBAN) values (1, 'Sparkasse', '1200', 'DE01');
        insert into Buchung (Kategorie, Wert, SH, Gegenkonto, Beleg1, Datum, Konto, Bankkonto, Buchungstext, KorrKz) values
          ('Ueberw', 10, 'H', '4210', 'UE1', '2026-01-02', '1200', '1200', 'Miete', 0),
          ('Ueberw', 11, 'H', '4210', 'UE2', '2026-01-03', '1200', '1200', 'Miete', 0),
          ('kasse', 5, 'H', '4650', 'KB1', '2026-01-10', '1000', NULL, 'Porto', 0);
        with recursive n(i) as (select 1 union all select i + 1 from n where i < 150)
          insert into Buchung (Kategorie, Wert, SH, Gegenkonto, Beleg1, Datum, Konto, Bankkonto, Buchungstext, KorrKz)
          select 'Zahlungen', i, 'S', '10001', 'ZA' || i, '2026-01-20', '1200', '1200', printf('%.500c', 'z'), 0 from n;
    )"));
    // The program's writes into the database start at the front of an empty log, far below
    // the limit.
    machine.exec(QStringLiteral("pragma wal_checkpoint(truncate)"));
}

QStringList markedVouchers(const DemoMachine& machine) {
    return machine.rows(QStringLiteral(
        "select Beleg1 from Buchung where Bu_kz = 'B' or Bu_kz_kr = 'B' order by Id"));
}

const qint64 kSmallDisk = 64 * 1024;

}  // namespace

TEST(DiskFull, TheExportStopsWithAMessageAndOnlyLinesOnDiskAreMarkedThenTheNextRunLosesNothing) {
    const struct {
        const char* how;
        const char* cause;
    } ways[] = {{"tmpfs", "Auf dem Datenträger ist kein Platz mehr frei"},
                {"file-size limit", "Die Datei ist zu groß"}};
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        const DemoMachine machine;
        addYearThatOverflows(machine);
        std::optional<Mount> disk;
        std::optional<rlim_t> limit;
        if (way.how == std::string("tmpfs")) {
            disk = Mount::tmpfs(machine.tmpFolder(), kSmallDisk);
            if (!disk) {
                RecordProperty("tmpfs", "mounting is not allowed here; only the limit ran");
                continue;
            }
        } else {
            limit = kSmallDisk;
        }
        const Outcome full = bookings(limit);
        const QString file = machine.path(QStringLiteral("tmp/FIBU-BW.1200.txt"));
        EXPECT_EQ(full.exitCode, 1);
        EXPECT_EQ(full.out, QString());
        EXPECT_EQ(full.err,
                  QStringLiteral("In die Datei \"%1\" kann nicht geschrieben werden: %2\n")
                      .arg(file, QString::fromUtf8(way.cause)));
        // The transfers were written and marked; the payments that met the full disk are not.
        EXPECT_EQ(markedVouchers(machine),
                  (QStringList{QStringLiteral("UE1"), QStringLiteral("UE2")}));
        const QByteArray onDisk = machine.readFile(QStringLiteral("tmp/FIBU-BW.1200.txt"));
        EXPECT_TRUE(
            onDisk.startsWith("1000;4210;H;UE1;;02.01.2026;1200;;;Miete;;EUR;\r\n"
                              "1100;4210;H;UE2;;03.01.2026;1200;;;Miete;;EUR;\r\n"));
        EXPECT_LE(onDisk.size(), kSmallDisk);

        // With room again the marked lines reach DATEV first, then every other booking:
        // each booking once.
        if (disk) {
            ASSERT_TRUE(disk->grow(16 * 1024 * 1024));
        }
        const Outcome next = bookings();
        EXPECT_EQ(next.exitCode, 0) << next.err.toStdString();
        EXPECT_TRUE(next.out.startsWith(QStringLiteral("Die Datei „FIBU-BW.1200.txt“ enthält")))
            << next.out.toStdString();
        EXPECT_EQ(machine.convertedRecords(), 153);
        EXPECT_EQ(machine.rows(QStringLiteral("select count(*) from Buchung where Bu_kz = 'B'")),
                  QStringList{QStringLiteral("153")});
    }
}

TEST(DiskFull, ASettingsFileThatDoesNotFitStaysAsItWas) {
    const DemoMachine machine;
    addYearThatOverflows(machine);
    const QByteArray settings = machine.readFile(QStringLiteral("Datev/Damo32.ini"));
    // Every file of the program stops at 60 bytes: the converter's settings with the period
    // added do not fit, nor does the interface file's second line.
    const Outcome full = bookings(60);
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_TRUE(full.err.startsWith(QStringLiteral("In die Datei \"%1\" kann nicht geschrieben "
                                                   "werden: Die Datei ist zu groß")
                                        .arg(machine.path(QStringLiteral("tmp/FIBU-BW.1200.txt")))))
        << full.err.toStdString();
    EXPECT_EQ(machine.readFile(QStringLiteral("Datev/Damo32.ini")), settings);
    const QStringList left = QDir(machine.path(QStringLiteral("Datev")))
                                 .entryList({QStringLiteral("*amo32*")}, QDir::Files);
    EXPECT_EQ(QSet<QString>(left.begin(), left.end()),
              (QSet<QString>{QStringLiteral("Damo32.ini"), QStringLiteral("damo32.exe")}));
    EXPECT_EQ(markedVouchers(machine), QStringList{});
}

TEST(ReadOnlyFolder, AnUnwritableTemporaryFolderStopsTheExportBeforeAnythingIsMarked) {
    const struct {
        const char* what;
        const char* cause;
    } cases[] = {{"a file in its place", "Ein Teil des Pfades ist kein Verzeichnis"},
                 {"missing", "Datei oder Verzeichnis nicht gefunden"},
                 {"read-only", "Das Dateisystem ist schreibgeschützt"}};  // may skip: last
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const DemoMachine machine;
        addYearThatOverflows(machine);
        const QString tmp = machine.tmpFolder();
        std::optional<Mount> readOnly;
        QString cause = QString::fromUtf8(c.cause);
        if (c.what == std::string("read-only")) {
            readOnly = Mount::readOnly(tmp);
            if (!readOnly) {
                // Without mounting, only the permission bits are left, which root passes by.
                if (::geteuid() == 0) {
                    GTEST_SKIP() << "neither a read-only bind mount nor permission bits can "
                                    "keep root from writing here";
                }
                ASSERT_TRUE(QFile::setPermissions(tmp, QFile::ReadOwner | QFile::ExeOwner));
                cause = QStringLiteral("Zugriff verweigert");
            }
        } else {
            ASSERT_TRUE(QDir(tmp).removeRecursively());
            if (c.what == std::string("a file in its place")) {
                machine.writeFile(QStringLiteral("tmp"), "kein Ordner");
            }
        }
        const Outcome outcome = bookings();
        EXPECT_EQ(outcome.exitCode, 1);
        EXPECT_EQ(outcome.err,
                  QStringLiteral("Die Datei \"%1/FIBU-BW.1200.txt\" kann nicht angelegt werden: "
                                 "%2\n")
                      .arg(tmp, cause));
        EXPECT_EQ(markedVouchers(machine), QStringList{});
    }
}

TEST(ReadOnlyFolder, ConverterSettingsThatCannotBeWrittenHandNothingOverAndTheNextRunLosesNothing) {
    const DemoMachine machine;
    machine.exec(QStringLiteral(R"(
        insert into Wirtschaftsjahr values (1, 2026, 26, '0101', '3112');
        insert into Bankkonto (Nr, Bezeichnung, Konto, IBAN) values (1, 'Sparkasse', '1200', 'DE01'),
          (2, 'Volksbank', '1210', 'DE02');
        insert into Buchung (Kategorie, Wert, SH, Gegenkonto, Beleg1, Datum, Konto, Bankkonto, Buchungstext, KorrKz) values
          ('Ueberw', 10, 'H', '4210', 'UE1', '2026-01-02', '1200', '1200', 'Miete', 0);
    )"));
    ASSERT_EQ(bookings().exitCode, 0);
    ASSERT_EQ(machine.convertedRecords(), 1);
    machine.exec(QStringLiteral(
        "insert into Buchung (Kategorie, Wert, SH, Gegenkonto, Beleg1, Datum, Konto, Bankkonto,"
        " Buchungstext, KorrKz) values ('Ueberw', 11, 'H', '4210', 'UE2', '2026-01-03', '1210',"
        " '1210', 'Miete', 0)"));
    {
        // Damo32.ini keeps naming the first account's file, which must not go to DATEV again.
        const std::optional<Mount> readOnly =
            Mount::readOnly(machine.path(QStringLiteral("Datev")));
        if (!readOnly) {
            GTEST_SKIP() << "no read-only bind mount here";
        }
        const Outcome outcome = bookings();
        EXPECT_EQ(outcome.exitCode, 1) << outcome.out.toStdString() << outcome.err.toStdString();
        EXPECT_TRUE(outcome.err.startsWith(
            QStringLiteral("Die Einstellungen für den DATEV-Konverter können nicht")))
            << outcome.err.toStdString();
    }
    EXPECT_EQ(machine.convertedRecords(), 1);
    EXPECT_EQ(markedVouchers(machine), (QStringList{QStringLiteral("UE1"), QStringLiteral("UE2")}));
    const Outcome next = bookings();
    EXPECT_EQ(next.exitCode, 0) << next.err.toStdString();
    EXPECT_TRUE(next.out.contains(QStringLiteral("nachträglich übergeben")))
        << next.out.toStdString();
    EXPECT_EQ(machine.convertedRecords(), 2);
}
