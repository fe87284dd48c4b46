// One QApplication on the offscreen platform for every test binary, so widget tests need no
// display and a forgotten modal box fails by the CTest timeout instead of waiting for a user.
#include <QApplication>

#include <dlfcn.h>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The ODBC driver manager loads its installer library for each connection and unloads it
    // again; kept loaded, its allocations can be told apart from ours by the leak checker.
    dlopen("libodbcinst.so.2", RTLD_NOW | RTLD_NODELETE);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Pendra-Test"));
    return RUN_ALL_TESTS();
}
