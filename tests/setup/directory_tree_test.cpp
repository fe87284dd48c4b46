#include "setup/directory_tree.h"
#include "support/sandbox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <cerrno>

#include <gtest/gtest.h>

using namespace pendra::setup;
using pendra::test::Sandbox;
using pendra::test::ScopedEnv;

namespace {

// Restores the working folder, which CreateDirectoryPath moves.
class WorkingFolder {
public:
    ~WorkingFolder() { QDir::setCurrent(old_); }

private:
    QString old_ = QDir::currentPath();
};

mode_t modeOf(const QString& path) {
    struct stat info {};
    EXPECT_EQ(::lstat(QFile::encodeName(path).constData(), &info), 0) << path.toStdString();
    return info.st_mode;
}

void link(const QString& target, const QString& at) {
    ASSERT_TRUE(QFile::link(target, at)) << at.toStdString();
}

}  // namespace

TEST(CreateDirectoryPath, CreatesLevelByLevelAndEndsInTheLastFolder) {
    const Sandbox box;
    const WorkingFolder restore;
    EXPECT_EQ(CreateDirectoryPath(box.path(QStringLiteral("Programme/Pendra/Tabellen/"))), 0);
    EXPECT_EQ(QDir::currentPath(), box.path(QStringLiteral("Programme/Pendra/Tabellen")));

    QDir::setCurrent(box.path());
    EXPECT_EQ(CreateDirectoryPath(box.path(QStringLiteral("PROGRAMME/pendra/Neu"))), 0);
    EXPECT_EQ(QDir::currentPath(), box.path(QStringLiteral("Programme/Pendra/Neu")));
    EXPECT_FALSE(QFileInfo::exists(box.path(QStringLiteral("PROGRAMME"))));

    box.writeFile(QStringLiteral("Datei"), "x");
    EXPECT_EQ(CreateDirectoryPath(box.path(QStringLiteral("Datei/unter"))), ENOTDIR);
}

TEST(CopyDirectoryTree, CopiesTheWholeTreeWritableWithExtensionsAndLinks) {
    const Sandbox box;
    const WorkingFolder restore;
    box.writeFile(QStringLiteral("medium/Pendra.mde"), "anwendung");
    box.writeFile(QStringLiteral("medium/Vorlagen.alt/brief.doc"), "brief");
    box.writeFile(QStringLiteral("medium/St6unst.exe"), "#!/bin/sh\n");
    ASSERT_EQ(::chmod(QFile::encodeName(box.path(QStringLiteral("medium/Pendra.mde"))), 0444), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(box.path(QStringLiteral("medium/St6unst.exe"))), 0555), 0);
    link(QStringLiteral("Pendra.mde"), box.path(QStringLiteral("medium/Verweis.mde")));
    link(box.path(QStringLiteral("medium")), box.path(QStringLiteral("medium/Schleife")));

    // What lies in the target already is replaced, a planted link included.
    box.writeFile(QStringLiteral("fremd.txt"), "fremd");
    box.writeFile(QStringLiteral("ziel/pendra.mde"), "alt");
    link(box.path(QStringLiteral("fremd.txt")), box.path(QStringLiteral("ziel/Vorlagen.alt")));

    ASSERT_EQ(
        CopyDirectoryTree(box.path(QStringLiteral("MEDIUM/")), box.path(QStringLiteral("ziel/"))),
        0);
    EXPECT_EQ(box.readFile(QStringLiteral("ziel/pendra.mde")), "anwendung");
    EXPECT_FALSE(QFileInfo::exists(box.path(QStringLiteral("ziel/Pendra.mde"))));
    EXPECT_EQ(box.readFile(QStringLiteral("ziel/Vorlagen.alt/brief.doc")), "brief");
    EXPECT_EQ(box.readFile(QStringLiteral("fremd.txt")), "fremd");

    EXPECT_EQ(modeOf(box.path(QStringLiteral("ziel/pendra.mde"))) & 0777, 0644U);
    EXPECT_EQ(modeOf(box.path(QStringLiteral("ziel/St6unst.exe"))) & 0777, 0755U);
    EXPECT_EQ(QFile::symLinkTarget(box.path(QStringLiteral("ziel/Verweis.mde"))),
              box.path(QStringLiteral("ziel/Pendra.mde")));
    EXPECT_TRUE(S_ISLNK(modeOf(box.path(QStringLiteral("ziel/Schleife")))));
    EXPECT_EQ(QDir(box.path(QStringLiteral("ziel")))
                  .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)
                  .size(),
              5);
}

TEST(CopyDirectoryTree, ATargetInsideTheSourceIsNotCopiedIntoItselfAndFailuresGiveTheCode) {
    const Sandbox box;
    const WorkingFolder restore;
    box.writeFile(QStringLiteral("medium/a.txt"), "a");
    EXPECT_EQ(CopyDirectoryTree(box.path(QStringLiteral("medium")),
                                box.path(QStringLiteral("medium/kopie"))),
              0);
    EXPECT_EQ(box.readFile(QStringLiteral("medium/kopie/a.txt")), "a");
    EXPECT_FALSE(QFileInfo::exists(box.path(QStringLiteral("medium/kopie/kopie"))));

    EXPECT_EQ(CopyDirectoryTree(box.path(QStringLiteral("fehlt")), box.path(QStringLiteral("z"))),
              ENOENT);
}

TEST(RemoveDirectoryTree, RemovesLinksButNeverWhatTheyPointTo) {
    const Sandbox box;
    box.writeFile(QStringLiteral("aussen/wichtig.txt"), "bleibt");
    box.writeFile(QStringLiteral("Pendra/Tabellen/Pendra_db.mdb"), "db");
    box.writeFile(QStringLiteral("Pendra/Pendra.ini"), "ini");
    link(box.path(QStringLiteral("aussen")), box.path(QStringLiteral("Pendra/Tabellen/Ordner")));
    link(box.path(QStringLiteral("aussen/wichtig.txt")), box.path(QStringLiteral("Pendra/Datei")));
    link(box.path(QStringLiteral("aussen")), box.path(QStringLiteral("Verweis")));

    EXPECT_EQ(RemoveDirectoryTree(box.path(QStringLiteral("pendra/"))), 1);
    EXPECT_FALSE(QFileInfo::exists(box.path(QStringLiteral("Pendra"))));
    EXPECT_EQ(box.readFile(QStringLiteral("aussen/wichtig.txt")), "bleibt");

    EXPECT_EQ(RemoveDirectoryTree(box.path(QStringLiteral("Verweis"))), 1);
    EXPECT_FALSE(QFileInfo(box.path(QStringLiteral("Verweis"))).isSymLink());
    EXPECT_EQ(box.readFile(QStringLiteral("aussen/wichtig.txt")), "bleibt");
    EXPECT_EQ(RemoveDirectoryTree(box.path(QStringLiteral("Verweis"))), 0);
}

TEST(RemoveDirectoryTree, RefusesTheRootAndHomeFolders) {
    const Sandbox box;
    box.writeFile(QStringLiteral("home/anna/Dokumente/brief.txt"), "brief");
    const ScopedEnv home("HOME", box.path(QStringLiteral("home/anna")));
    EXPECT_EQ(RemoveDirectoryTree(box.path(QStringLiteral("home/anna/"))), 0);
    EXPECT_EQ(RemoveDirectoryTree(box.path(QStringLiteral("home"))), 0);
    EXPECT_EQ(box.readFile(QStringLiteral("home/anna/Dokumente/brief.txt")), "brief");
    EXPECT_EQ(RemoveDirectoryTree(QStringLiteral("/")), 0);

    EXPECT_EQ(RemoveDirectoryTree(box.path(QStringLiteral("home/anna/Dokumente"))), 1);
    EXPECT_TRUE(QFileInfo::exists(box.path(QStringLiteral("home/anna"))));
}
