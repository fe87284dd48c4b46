#include "common/FileFkt.h"

#include "common/failure.h"
#include "platform/codepage.h"
#include "platform/paths.h"
#include "platform/system_error_text.h"

#include <QFile>

namespace pendra::common::FileFkt {

bool FilePresent(const QString& path) {
    return platform::fileExists(path);
}

void CreateEmptyTextFile(const QString& path) {
    const QString resolved = platform::resolvePath(path);
    QFile file(resolved);
    if (file.exists()) {
        if (!(file.permissions() & QFileDevice::WriteOwner)) {
            throw Failure(
                QStringLiteral(
                    "Die Datei \"%1\" ist schreibgeschützt und kann nicht gelöscht werden.")
                    .arg(path));
        }
        if (!file.remove()) {
            throw Failure(QStringLiteral("Die Datei \"%1\" kann nicht gelöscht werden: %2")
                              .arg(path, platform::germanSystemError(file.errorString())));
        }
    }
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        throw Failure(QStringLiteral("Die Datei \"%1\" kann nicht angelegt werden: %2")
                          .arg(path, platform::germanSystemError(file.errorString())));
    }
}

int AppendTextLine(const QString& path, const QString& line) {
    const platform::Encoded encoded = platform::encodeAnsi(line);
    QFile file(platform::resolvePath(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append) ||
        file.write(encoded.bytes + "\r\n") != encoded.bytes.size() + 2 || !file.flush()) {
        throw Failure(QStringLiteral("In die Datei \"%1\" kann nicht geschrieben werden: %2")
                          .arg(path, platform::germanSystemError(file.errorString())));
    }
    return encoded.replaced;
}

}  // namespace pendra::common::FileFkt
