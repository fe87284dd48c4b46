#pragma once

#include <QString>

#include <vector>

namespace pendra::tools {

struct CabinetFile {
    QString name;        // as stored, with "/" between folders
    QString unpackedAs;  // where it was unpacked
};

// Unpacks every file of the cabinet into `folder` under a name of its own (a number), so
// that no stored name, however odd, decides where a file lands. Throws Failure.
std::vector<CabinetFile> unpackCabinet(const QString& cabinet, const QString& folder);

}  // namespace pendra::tools
