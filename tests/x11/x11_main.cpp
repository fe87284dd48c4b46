// Runs its tests against a real X server of its own (Xvfb), where the window system, not Qt,
// decides what a window is called: titles, standard buttons and stacking show as users see
// them.
#include "ui/german_translation.h"

#include <QApplication>
#include <QProcess>

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

namespace {

bool onlyListing(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--gtest_list_tests") == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (onlyListing(argc, argv)) {
        ::testing::InitGoogleTest(&argc, argv);
        return RUN_ALL_TESTS();
    }
    QProcess server;
    server.start(QStringLiteral("Xvfb"),
                 {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"),
                  QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"),
                  QStringLiteral("1280x1024x24")});
    if (!server.waitForReadyRead(20000)) {
        std::fprintf(stderr, "Xvfb did not start: %s\n", qPrintable(server.errorString()));
        return 1;
    }
    qputenv("DISPLAY", ":" + server.readLine().trimmed());
    qputenv("QT_QPA_PLATFORM", "xcb");
    dlopen("libodbcinst.so.2", RTLD_NOW | RTLD_NODELETE);
    ::testing::InitGoogleTest(&argc, argv);
    int result = 0;
    {
        QApplication app(argc, argv);
        pendra::ui::installGermanTranslation(app);
        result = RUN_ALL_TESTS();
    }
    server.terminate();
    server.waitForFinished(5000);
    return result;
}
