#include "setup/SetupContext.h"

namespace pendra::setup {

QString sourceDirectoryOf(const QString& programPath) {
    QString folder = programPath.left(programPath.lastIndexOf(QLatin1Char('/')));
    while (folder.endsWith(QLatin1Char('/'))) {
        folder.chop(1);
    }
    return folder + QLatin1Char('/');
}

}  // namespace pendra::setup
