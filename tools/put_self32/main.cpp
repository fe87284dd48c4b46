// Stand-in for DATEV's put_self32.exe: takes over an interface file.
//
//   put_self32.exe FOLDER FILE TYPE
//
// Checks that FILE exists in FOLDER and appends one line recording the call to
// put_self32.log beside the program. Exit code 0 when the file exists, 1 when not, 2 for
// wrong arguments.

#include "platform/paths.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>

int main(int argc, char* argv[]) {
    const QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    const bool complete = args.size() == 3;
    const bool present =
        complete && pendra::platform::fileExists(pendra::platform::joinPath(args[0], args[1]));

    QFile log(
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("put_self32.log")));
    if (log.open(QIODevice::WriteOnly | QIODevice::Append)) {
        const QString status = !complete ? QStringLiteral("ARGUMENTE")
                               : present ? QStringLiteral("OK")
                                         : QStringLiteral("FEHLT");
        const QString line = QDateTime::currentDateTime().toString(Qt::ISODate) +
                             QLatin1Char('\t') + args.join(QLatin1Char('\t')) + QLatin1Char('\t') +
                             status + QLatin1Char('\n');
        log.write(line.toUtf8());
    }
    if (!complete) {
        return 2;
    }
    return present ? 0 : 1;
}
