// Writes keys <prefix>0 .. <prefix>N-1 into one section of a profile file, one write each,
// so tests can run several writers against one file at once.
#include "platform/profile.h"

#include <QCoreApplication>
#include <QStringList>

int main(int argc, char* argv[]) {
    const QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 4) {
        return 2;
    }
    const int count = args[3].toInt();
    for (int i = 0; i < count; ++i) {
        if (!pendra::platform::writePrivateProfileString(QStringLiteral("Werte"),
                                                         args[2] + QString::number(i),
                                                         QString::number(i), args[1])) {
            return 1;
        }
    }
    return 0;
}
