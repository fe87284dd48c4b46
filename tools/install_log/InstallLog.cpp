#include "tools/install_log/InstallLog.h"

#include "common/failure.h"

#include <QFile>
#include <QStringList>

#include <fcntl.h>

#include <array>
#include <optional>

namespace pendra::tools {

namespace {

const std::array<QString, 3> kLogNames = {
    QStringLiteral("St6unst.log"), QStringLiteral("St6unst.000"), QStringLiteral("St6unst.001")};

QString kindWord(LogEntry::Kind kind) {
    switch (kind) {
        case LogEntry::Kind::File:
            return QStringLiteral("Datei");
        case LogEntry::Kind::Folder:
            return QStringLiteral("Ordner");
        case LogEntry::Kind::Setting:
            break;
    }
    return QStringLiteral("Eintrag");
}

QStringList fieldsOf(const LogEntry& entry) {
    QStringList fields = {kindWord(entry.kind), entry.path};
    if (entry.kind == LogEntry::Kind::Setting) {
        fields << entry.section << entry.key << entry.value;
    }
    return fields;
}

// O_NOFOLLOW: the log is never written through a link found in the installation folder.
int openLog(const QString& path, bool mustBeNew) {
    const int flags =
        O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC | (mustBeNew ? O_EXCL : 0);
    return ::open(QFile::encodeName(path).constData(), flags, 0644);
}

std::optional<LogEntry> parseEntry(const QStringList& fields) {
    for (const auto kind :
         {LogEntry::Kind::File, LogEntry::Kind::Folder, LogEntry::Kind::Setting}) {
        if (fields[0] != kindWord(kind)) {
            continue;
        }
        if (kind != LogEntry::Kind::Setting && fields.size() == 2) {
            return LogEntry{kind, fields[1], {}, {}, {}};
        }
        if (kind == LogEntry::Kind::Setting && fields.size() == 5) {
            return LogEntry{kind, fields[1], fields[2], fields[3], fields[4]};
        }
    }
    return std::nullopt;
}

}  // namespace

InstallLog::InstallLog(const QString& folder) {
    for (std::size_t i = 0; i < kLogNames.size() && !fd_.isValid(); ++i) {
        path_ = folder + QLatin1Char('/') + kLogNames[i];
        fd_ = platform::UniqueFd(openLog(path_, i + 1 < kLogNames.size()));
    }
    if (!fd_.isValid()) {
        throw Failure(
            QStringLiteral("Die Protokolldatei %1 kann nicht angelegt werden.").arg(path_));
    }
}

void InstallLog::record(const LogEntry& entry) {
    const QStringList fields = fieldsOf(entry);
    for (const QString& field : fields) {
        if (field.contains(QLatin1Char('\t')) || field.contains(QLatin1Char('\n')) ||
            field.contains(QLatin1Char('\r'))) {
            throw Failure(QStringLiteral("\"%1\" lässt sich nicht protokollieren.").arg(field));
        }
    }
    const QByteArray line = (fields.join(QLatin1Char('\t')) + QLatin1Char('\n')).toUtf8();
    if (::write(fd_.get(), line.constData(), line.size()) != line.size() ||
        ::fsync(fd_.get()) != 0) {
        throw Failure(
            QStringLiteral("Die Protokolldatei %1 kann nicht geschrieben werden.").arg(path_));
    }
}

std::vector<LogEntry> readInstallLog(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw Failure(QStringLiteral("Die Protokolldatei %1 wurde nicht gefunden.").arg(path));
    }
    std::vector<LogEntry> entries;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (const auto entry = parseEntry(QString::fromUtf8(line).split(QLatin1Char('\t')))) {
            entries.push_back(*entry);
        }
    }
    return entries;
}

}  // namespace pendra::tools
