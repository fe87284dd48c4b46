#include "setup/gui/FolderPage.h"
#include "setup/wizard_test_support.h"
#include "ui/recording_message_sink.h"

#include <QAction>
#include <QApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace pendra;
using test::RecordingView;
using test::WizardMachine;

namespace {

QStringList everythingBelow(const QString& folder) {
    QStringList entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        entries << it.next();
    }
    entries.sort();
    return entries;
}

// The folder page over a program-files folder that holds "Alt" and "Zubehör".
class FolderPageTest : public ::testing::Test {
protected:
    FolderPageTest() {
        QDir().mkpath(programFiles_ + QStringLiteral("/Alt"));
        QDir().mkpath(programFiles_ + QStringLiteral("/Zubehör/Teil"));
        WizardMachine::setProgramFiles(programFiles_ + QLatin1Char('/'));
        before_ = everythingBelow(machine_.box().path());
        page_.show();
        sinceOpened_.start();
        page_.opened();
    }
    ~FolderPageTest() override {
        EXPECT_EQ(everythingBelow(machine_.box().path()), before_) << "the disk changed";
    }

    QTreeWidget* tree() { return page_.findChild<QTreeWidget*>(QStringLiteral("id1000")); }
    QString shown() { return page_.findChild<QLineEdit*>(QStringLiteral("id1001"))->text(); }
    QTreeWidgetItem* current() { return tree()->currentItem(); }
    QTreeWidgetItem* item(const QString& name) {
        const QList<QTreeWidgetItem*> found =
            tree()->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
        if (found.isEmpty()) {
            ADD_FAILURE() << "no folder " << name.toStdString();
            return tree()->topLevelItem(0);
        }
        return found.first();
    }
    // Chooses "Neuer Ordner" from the context menu over the item.
    void newFolderBelow(QTreeWidgetItem* parent) {
        QMenu* menu = nullptr;
        menuFor(parent, &menu);
        menu->actions().first()->trigger();
        menu->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QStringList childNames(QTreeWidgetItem* item) {
        QStringList names;
        for (int i = 0; i < item->childCount(); ++i) {
            names << item->child(i)->text(0);
        }
        return names;
    }

    // Types into the open label editor and confirms it with Enter. The view commits the text
    // after the key, and the page judges it after that.
    void typeLabel(const QString& text) {
        const QPointer<QLineEdit> editor = tree()->viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr) << "no label edit open";
        editor->setText(text);
        QTest::keyClick(editor, Qt::Key_Return);
        EXPECT_TRUE(QTest::qWaitFor([&editor] { return editor.isNull(); }, 5000));
        QCoreApplication::sendPostedEvents();
    }

    // The entries of the context menu over an item.
    QStringList menuFor(QTreeWidgetItem* item, QMenu** menu = nullptr) {
        emit tree()->customContextMenuRequested(tree()->visualItemRect(item).center());
        auto* popup = page_.findChild<QMenu*>(QStringLiteral("folderMenu"));
        QStringList texts;
        for (const QAction* action : popup->actions()) {
            texts << action->text();
        }
        if (menu != nullptr) {
            *menu = popup;
        } else {
            popup->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        return texts;
    }

    WizardMachine machine_;
    const QString programFiles_ = machine_.box().path(QStringLiteral("Programme"));
    QStringList before_;
    QElapsedTimer sinceOpened_;
    ui::RecordingMessageSink messages_;
    setup::SetupContext context_{messages_, machine_.medium(), QStringLiteral("/alt/")};
    RecordingView view_;
    setup::FolderPage page_{context_, view_, nullptr};
};

}  // namespace

TEST_F(FolderPageTest, ProposesTheMissingPendraFolderAsANewFolderWithItsLabelOpen) {
    EXPECT_EQ(current()->text(0), QStringLiteral("Pendra"));
    EXPECT_EQ(shown(), programFiles_ + QStringLiteral("/Pendra/"));
    EXPECT_EQ(page_.createdFolders(), QStringList{programFiles_ + QStringLiteral("/Pendra")});
    EXPECT_NE(tree()->viewport()->findChild<QLineEdit*>(), nullptr);
    EXPECT_EQ(
        childNames(current()->parent()),
        (QStringList{QStringLiteral("Pendra"), QStringLiteral("Alt"), QStringLiteral("Zubehör")}));
}

TEST_F(FolderPageTest, WeiterIsEnabledAfterOneSecondAndTakesTheShownFolder) {
    while (!view_.nextEnabled.value_or(false) && sinceOpened_.elapsed() < 3000) {
        EXPECT_EQ(context_.installationDirectory, QStringLiteral("/alt/"));
        QTest::qWait(5);
    }
    EXPECT_TRUE(view_.nextEnabled.value_or(false));
    EXPECT_GE(sinceOpened_.elapsed(), 1000);
    EXPECT_EQ(context_.installationDirectory, programFiles_ + QStringLiteral("/Pendra/"));
}

TEST_F(FolderPageTest, ANameWithATrailingBlankIsTakenWithoutIt) {
    typeLabel(QStringLiteral("Pendra 2 "));
    EXPECT_EQ(current()->text(0), QStringLiteral("Pendra 2"));
    EXPECT_EQ(shown(), programFiles_ + QStringLiteral("/Pendra 2/"));
    EXPECT_EQ(page_.createdFolders(), QStringList{programFiles_ + QStringLiteral("/Pendra 2")});
}

TEST_F(FolderPageTest, RefusedNamesRemoveTheNewFolder) {
    typeLabel(QStringLiteral("Neu"));
    QTreeWidgetItem* folder = item(QStringLiteral("Programme"));
    for (const QString& name : {QStringLiteral("Alt"), QStringLiteral("Neu"), QStringLiteral("   "),
                                QStringLiteral("a/b"), QStringLiteral("was?")}) {
        newFolderBelow(folder);
        typeLabel(name);
        EXPECT_EQ(current(), folder) << name.toStdString();
        EXPECT_EQ(childNames(folder), (QStringList{QStringLiteral("Alt"), QStringLiteral("Neu"),
                                                   QStringLiteral("Zubehör")}));
        EXPECT_EQ(page_.createdFolders(), QStringList{programFiles_ + QStringLiteral("/Neu")});
    }
}

TEST_F(FolderPageTest, ConfirmingNeuerOrdnerUnchangedRemovesItButANamedFolderStays) {
    typeLabel(QStringLiteral("Neu"));
    QTreeWidgetItem* neu = current();
    newFolderBelow(neu);
    EXPECT_EQ(current()->text(0), QStringLiteral("Neuer Ordner"));
    EXPECT_EQ(page_.createdFolders().first(), programFiles_ + QStringLiteral("/Neu/Neuer Ordner"));
    typeLabel(QStringLiteral("Neuer Ordner"));
    EXPECT_EQ(current(), neu);
    EXPECT_EQ(neu->childCount(), 0);
    EXPECT_EQ(shown(), programFiles_ + QStringLiteral("/Neu/"));

    tree()->editItem(neu);
    typeLabel(QStringLiteral("Neu"));
    EXPECT_EQ(current(), neu);
    EXPECT_EQ(page_.createdFolders(), QStringList{programFiles_ + QStringLiteral("/Neu")});
    EXPECT_EQ(shown(), programFiles_ + QStringLiteral("/Neu/"));
}

TEST_F(FolderPageTest, FoldersOnDiskOfferOnlyNeuerOrdner) {
    EXPECT_EQ(menuFor(item(QStringLiteral("Alt"))), QStringList{QStringLiteral("Neuer Ordner")});
    EXPECT_EQ(shown(), programFiles_ + QStringLiteral("/Alt/"));
    EXPECT_EQ(menuFor(item(QStringLiteral("Pendra"))),
              (QStringList{QStringLiteral("Neuer Ordner"), QStringLiteral("Umbenennen"),
                           QStringLiteral("Ordner löschen")}));
}

TEST_F(FolderPageTest, FoldersAreListedWhenTheyOpenAndTheWheelRemovesAnEditedFolder) {
    QTreeWidgetItem* zubehoer = item(QStringLiteral("Zubehör"));
    EXPECT_TRUE(zubehoer->childIndicatorPolicy() == QTreeWidgetItem::ShowIndicator);
    EXPECT_EQ(zubehoer->childCount(), 0);  // listed only when it opens
    tree()->expandItem(zubehoer);
    EXPECT_EQ(childNames(zubehoer), QStringList{QStringLiteral("Teil")});

    QWheelEvent wheel(QPointF(5, 5), tree()->viewport()->mapToGlobal(QPointF(5, 5)), QPoint(),
                      QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(tree()->viewport(), &wheel);
    QTest::qWait(50);
    EXPECT_EQ(current()->text(0), QStringLiteral("Programme"));
    EXPECT_TRUE(page_.createdFolders().isEmpty());
    EXPECT_EQ(shown(), programFiles_ + QLatin1Char('/'));
}
