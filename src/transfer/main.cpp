#include "batch.h"

#include <QCoreApplication>

#include <cstdio>
#include <iostream>
#include <unistd.h>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pendra_transfer"));
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    return pendra::batch::run(arguments, {std::cout, std::cerr, std::cin, ::isatty(STDIN_FILENO) == 1,
                                          ::isatty(STDERR_FILENO) == 1});
}
