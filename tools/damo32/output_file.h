#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace pendra::tools::damo {

// Writes contents as a new file "EXTF_<word>_<input name>_<time>.csv" in folder, with "_2",
// "_3", ... added when that name is taken, so an earlier file is never overwritten. Returns the
// file's path, empty when it could not be written.
QString writeNewDatevFile(const QString& folder, const QString& word, const QString& inputName,
                          const QDateTime& createdAt, const QByteArray& contents);

}  // namespace pendra::tools::damo
