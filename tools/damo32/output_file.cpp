#include "tools/damo32/output_file.h"

#include <QDir>
#include <QFile>

namespace pendra::tools::damo {

namespace {

constexpr int kMaxTries = 1000;

}  // namespace

QString writeNewDatevFile(const QString& folder, const QString& word, const QString& inputName,
                          const QDateTime& createdAt, const QByteArray& contents) {
    const QString stem = QStringLiteral("EXTF_%1_%2_%3")
                             .arg(word, inputName, createdAt.toString(u"yyyyMMdd-HHmmss"));
    for (int n = 1; n <= kMaxTries; ++n) {
        const QString name =
            stem + (n == 1 ? QString() : QStringLiteral("_%1").arg(n)) + QStringLiteral(".csv");
        QFile file(QDir(folder).filePath(name));
        // NewOnly fails when the name exists, also when another run takes it at this moment.
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            const bool written = file.write(contents) == contents.size() && file.flush();
            return written ? file.fileName() : QString();
        }
        if (!file.exists()) {
            return QString();
        }
    }
    return QString();
}

}  // namespace pendra::tools::damo
