#pragma once

#include "setup/Wizard.h"
#include "setup/gui/WizardPage.h"

#include <QStringList>
#include <QTimer>

#include <memory>

class QTreeWidgetItem;

namespace Ui {
class SetupFolderPage;
}

namespace pendra::setup {

class FolderLabelDelegate;

// Chooses the installation folder in a tree of the file system below "/". Folders the user
// adds exist only in the tree until the installation creates them; nothing on disk changes
// here.
class FolderPage : public WizardPage {
    Q_OBJECT

public:
    FolderPage(SetupContext& context, WizardView& view, QWidget* parent);
    ~FolderPage() override;

    void opened() override;

    // Paths of the folders added on this page, the most recent first.
    const QStringList& createdFolders() const { return created_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void listDirectories(QTreeWidgetItem* item);
    void selectPath(const QString& path);
    void makeCurrent(QTreeWidgetItem* item);
    void showPath();
    void updateImage(QTreeWidgetItem* item) const;
    void expanded(QTreeWidgetItem* item);
    void openMenu(const QPoint& position);
    void newFolder();
    void createFolder(const QString& name, bool editLabel);
    void renameFolder();
    void labelEdited(const QString& text);
    void keepOnlyFirstOfEqualChildren(QTreeWidgetItem* parent);
    void removeFolder();

    std::unique_ptr<Ui::SetupFolderPage> ui_;
    SetupContext& context_;
    WizardView& view_;
    FolderLabelDelegate* labels_;
    QTimer enableTimer_;
    QStringList created_;
    bool suppressListing_ = false;
};

}  // namespace pendra::setup
