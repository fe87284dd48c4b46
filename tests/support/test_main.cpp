// One QApplication on the offscreen platform for every test binary, so widget tests need no
// display and a forgotten modal box fails by the CTest timeout instead of waiting for a user.
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Pendra-Test"));
    return RUN_ALL_TESTS();
}
