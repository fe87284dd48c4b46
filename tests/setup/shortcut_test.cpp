#include "setup/shortcut.h"
#include "platform/registry_store.h"
#include "support/sandbox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

using namespace pendra::setup;
using pendra::platform::RegistryStore;
using pendra::platform::RegValue;
using pendra::test::Sandbox;

namespace {

const QString kShellFolders =
    QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");

// desktop-file-validate's verdict: empty when the entry is valid, else its complaints.
QString validationErrors(const QString& entry) {
    QProcess validate;
    validate.start(QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate")),
                   {entry});
    if (!validate.waitForFinished(30000)) {
        return QStringLiteral("desktop-file-validate did not run");
    }
    const QString output = QString::fromUtf8(validate.readAll());
    return validate.exitCode() == 0 ? QString() : output;
}

}  // namespace

TEST(CreateShortcut, WritesAValidDesktopEntryQuotingPathsWithBlanks) {
    const Sandbox box;
    const QString dir = box.path(QStringLiteral("Programme/Pendra Buchhaltung/"));
    ASSERT_EQ(CreateShortcut(dir + QStringLiteral("Pendra.mde"),
                             box.path(QStringLiteral("Desktop/Pendra.lnk")),
                             QStringLiteral("Pendra"), QStringLiteral("/x \"mit Leer\" 100%"), dir,
                             dir + QStringLiteral("Pendra.ico"), 0),
              0);

    ASSERT_TRUE(QDir().mkpath(box.path(QStringLiteral("Desktop"))));
    box.writeFile(QStringLiteral("fremd.desktop"), "fremd");
    QFile::link(box.path(QStringLiteral("fremd.desktop")),
                box.path(QStringLiteral("Desktop/Pendra.desktop")));
    ASSERT_EQ(CreateShortcut(dir + QStringLiteral("Pendra.mde"),
                             box.path(QStringLiteral("Desktop/Pendra.lnk")),
                             QStringLiteral("Pendra"), QStringLiteral("/x \"mit Leer\" 100%"), dir,
                             dir + QStringLiteral("Pendra.ico"), 0),
              1);
    const QString entry = box.path(QStringLiteral("Desktop/Pendra.desktop"));
    EXPECT_FALSE(QFileInfo(entry).isSymLink());
    EXPECT_EQ(box.readFile(QStringLiteral("fremd.desktop")), "fremd");
    EXPECT_EQ(validationErrors(entry), QString());

    const QString text = QString::fromUtf8(box.readFile(QStringLiteral("Desktop/Pendra.desktop")));
    EXPECT_TRUE(text.contains(QStringLiteral("\nName=Pendra\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\nExec=\"") + dir +
                              QStringLiteral("Pendra.mde\" /x \"mit Leer\" 100%%\n")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("\nPath=") + dir + QLatin1Char('\n')));
    EXPECT_TRUE(text.contains(QStringLiteral("\nIcon=") + dir + QStringLiteral("Pendra.ico\n")));
}

TEST(GetCommonFolder, ReadsShellFoldersWithoutTrailingSeparators) {
    const Sandbox box;
    EXPECT_EQ(GetCommonFolder(QStringLiteral("Common Desktop")), QString());
    RegistryStore machine = RegistryStore::system();
    ASSERT_TRUE(machine.createKey(kShellFolders).ok());
    ASSERT_TRUE(machine
                    .setValue(kShellFolders, QStringLiteral("Common Desktop"),
                              RegValue::fromText(QStringLiteral("/home/anna/Schreibtisch//")))
                    .ok());
    EXPECT_EQ(GetCommonFolder(QStringLiteral("common desktop")),
              QStringLiteral("/home/anna/Schreibtisch"));
    EXPECT_EQ(GetCommonFolder(QStringLiteral("Common Start Menu")), QString());
}
