#include "setup/gui/FolderPage.h"

#include "setup/folder_choice.h"
#include "setup/gui/FolderLabelDelegate.h"
#include "ui_SetupFolderPage.h"

#include <QDir>
#include <QDirIterator>
#include <QMenu>
#include <QStyle>

namespace pendra::setup {

namespace {

// Item images: collapsed and new folders, expanded folders, the drive.
enum Image { kClosed = 0, kOpen = 1, kDrive = 2 };

constexpr int kListedRole = Qt::UserRole;
const QString kNewFolder = QStringLiteral("Neuer Ordner");

// The drive is the root; a folder's path is its parent's path, "/" and its name.
QString itemPath(const QTreeWidgetItem* item) {
    if (item == nullptr || item->parent() == nullptr) {
        return {};
    }
    return itemPath(item->parent()) + QLatin1Char('/') + item->text(0);
}

bool hasSubdirectories(const QString& folder) {
    return QDirIterator(folder, QDir::Dirs | QDir::NoDotAndDotDot).hasNext();
}

void markChildren(QTreeWidgetItem* item, bool hasChildren) {
    item->setChildIndicatorPolicy(hasChildren ? QTreeWidgetItem::ShowIndicator
                                              : QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

QTreeWidgetItem* childNamed(QTreeWidgetItem* parent, const QString& name) {
    for (int i = 0; i < parent->childCount(); ++i) {
        if (parent->child(i)->text(0) == name) {
            return parent->child(i);
        }
    }
    return nullptr;
}

}  // namespace

FolderPage::FolderPage(SetupContext& context, WizardView& view, QWidget* parent)
    : WizardPage(parent),
      ui_(std::make_unique<Ui::SetupFolderPage>()),
      context_(context),
      view_(view),
      labels_(new FolderLabelDelegate(this)) {
    ui_->setupUi(this);
    QTreeWidget* tree = ui_->id1000;
    tree->setItemDelegate(labels_);
    tree->installEventFilter(this);
    tree->viewport()->installEventFilter(this);
    // A coarse timer may fire early, and "Weiter >>" must not come before the second is up.
    enableTimer_.setTimerType(Qt::PreciseTimer);
    enableTimer_.setSingleShot(true);
    enableTimer_.setInterval(1000);
    connect(&enableTimer_, &QTimer::timeout, this, [this] {
        view_.enableNext(true);
        context_.installationDirectory = ui_->id1001->text();
    });
    connect(tree, &QTreeWidget::itemExpanded, this, &FolderPage::expanded);
    connect(tree, &QTreeWidget::itemCollapsed, this, &FolderPage::updateImage);
    connect(tree, &QTreeWidget::itemClicked, this, [this] {
        suppressListing_ = false;
        showPath();
    });
    connect(tree, &QTreeWidget::customContextMenuRequested, this, &FolderPage::openMenu);
    connect(labels_, &FolderLabelDelegate::labelEdited, this, &FolderPage::labelEdited,
            Qt::QueuedConnection);
}

FolderPage::~FolderPage() = default;

void FolderPage::opened() {
    enableTimer_.start();
    auto* drive = new QTreeWidgetItem(ui_->id1000, {QStringLiteral("/")});
    markChildren(drive, hasSubdirectories(QStringLiteral("/")));
    updateImage(drive);
    selectPath(proposedInstallationFolder());
    ui_->id1000->setFocus();
}

void FolderPage::listDirectories(QTreeWidgetItem* item) {
    const QString folder = itemPath(item) + QLatin1Char('/');
    const QDir dir(folder);
    if (item->data(0, kListedRole).toBool() || !dir.exists()) {
        return;
    }
    for (const QString& name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        auto* child = new QTreeWidgetItem(item, {name});
        markChildren(child, hasSubdirectories(folder + name));
        updateImage(child);
    }
    item->sortChildren(0, Qt::AscendingOrder);
    item->setData(0, kListedRole, true);
    suppressListing_ = true;
    item->setExpanded(true);
}

// The proposed folder as far as it exists, the rest as new folders below it.
void FolderPage::selectPath(const QString& path) {
    if (path.isEmpty()) {
        return;
    }
    const QStringList names = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    makeCurrent(ui_->id1000->topLevelItem(0));
    listDirectories(ui_->id1000->currentItem());
    qsizetype found = 0;
    for (; found < names.size(); ++found) {
        QTreeWidgetItem* child = childNamed(ui_->id1000->currentItem(), names[found]);
        if (child == nullptr) {
            break;
        }
        makeCurrent(child);
        listDirectories(child);
        updateImage(child);
    }
    for (qsizetype i = found; i < names.size(); ++i) {
        // Only the deepest label stays open: opening one edit ends the one before.
        createFolder(names[i], i == names.size() - 1);
    }
}

void FolderPage::makeCurrent(QTreeWidgetItem* item) {
    ui_->id1000->setCurrentItem(item);
    showPath();
}

void FolderPage::showPath() {
    const QTreeWidgetItem* item = ui_->id1000->currentItem();
    ui_->id1001->setText(item != nullptr ? itemPath(item) + QLatin1Char('/') : QString());
}

void FolderPage::updateImage(QTreeWidgetItem* item) const {
    const QStyle::StandardPixmap icons[] = {QStyle::SP_DirClosedIcon, QStyle::SP_DirOpenIcon,
                                            QStyle::SP_DriveHDIcon};
    Image image = kClosed;
    if (item->parent() == nullptr) {
        image = kDrive;
    } else if (item->isExpanded() && item->childCount() > 0) {
        image = kOpen;
    }
    item->setIcon(0, style()->standardIcon(icons[image]));
}

void FolderPage::expanded(QTreeWidgetItem* item) {
    updateImage(item);
    if (!suppressListing_) {
        listDirectories(item);
    }
    suppressListing_ = false;
}

void FolderPage::openMenu(const QPoint& position) {
    QTreeWidgetItem* item = ui_->id1000->itemAt(position);
    if (item == nullptr) {
        return;
    }
    makeCurrent(item);
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("folderMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addAction(kNewFolder, this, &FolderPage::newFolder);
    if (created_.contains(itemPath(item))) {
        menu->addAction(QStringLiteral("Umbenennen"), this, &FolderPage::renameFolder);
        menu->addAction(QStringLiteral("Ordner löschen"), this, &FolderPage::removeFolder);
    }
    menu->popup(ui_->id1000->viewport()->mapToGlobal(position));
}

void FolderPage::newFolder() {
    createFolder(kNewFolder, true);
}

void FolderPage::createFolder(const QString& name, bool editLabel) {
    QTreeWidgetItem* parent = ui_->id1000->currentItem();
    markChildren(parent, true);
    listDirectories(parent);
    auto* item = new QTreeWidgetItem({name});
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    parent->insertChild(0, item);
    updateImage(item);
    parent->setExpanded(true);
    // An older folder of the same name is taken over, as the tree finds the first of them.
    makeCurrent(childNamed(parent, name));
    created_.prepend(itemPath(ui_->id1000->currentItem()));
    if (editLabel) {
        ui_->id1000->editItem(ui_->id1000->currentItem());
    }
}

void FolderPage::renameFolder() {
    ui_->id1000->editItem(ui_->id1000->currentItem());
}

void FolderPage::labelEdited(const QString& text) {
    QTreeWidgetItem* item = ui_->id1000->currentItem();
    if (item == nullptr) {
        return;
    }
    showPath();
    if (text == item->text(0) && text != kNewFolder) {
        // A named folder confirmed as it is stays: removing it would make its parent the
        // installation folder, which the uninstall later deletes with everything in it.
        return;
    }
    created_.removeOne(itemPath(item));
    QTreeWidgetItem* parent = item->parent();
    QStringList names;
    for (int i = 0; parent != nullptr && i < parent->childCount(); ++i) {
        names << parent->child(i)->text(0);
    }
    const std::optional<QString> name = acceptedFolderName(text, parent != nullptr, names);
    if (!name) {
        removeFolder();
        return;
    }
    item->setText(0, *name);
    created_.prepend(itemPath(item));
    keepOnlyFirstOfEqualChildren(parent);
    parent->sortChildren(0, Qt::AscendingOrder);
    makeCurrent(item);
    updateImage(item);
}

void FolderPage::keepOnlyFirstOfEqualChildren(QTreeWidgetItem* parent) {
    const QString first = parent->child(0)->text(0);
    for (int i = parent->childCount() - 1; i > 0; --i) {
        if (parent->child(i)->text(0) == first) {
            created_.removeOne(itemPath(parent->child(i)));
            std::unique_ptr<QTreeWidgetItem>(parent->takeChild(i));
        }
    }
}

// Deletes the current item; its parent becomes current and learns from the disk whether it
// has folders below it.
void FolderPage::removeFolder() {
    QTreeWidgetItem* item = ui_->id1000->currentItem();
    QTreeWidgetItem* parent = item->parent();
    if (parent == nullptr) {
        return;
    }
    created_.removeOne(itemPath(item));
    std::unique_ptr<QTreeWidgetItem>(parent->takeChild(parent->indexOfChild(item)));
    makeCurrent(parent);
    updateImage(parent);
    markChildren(parent, hasSubdirectories(itemPath(parent) + QLatin1Char('/')));
}

bool FolderPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && watched == ui_->id1000) {
        context_.installationDirectory = ui_->id1001->text();
    }
    if (event->type() == QEvent::Wheel && labels_->editor() != nullptr) {
        labels_->confirm();
        // After the edit has ended; a folder the edit already removed is not followed by its
        // parent.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (created_.contains(itemPath(ui_->id1000->currentItem()))) {
                    removeFolder();
                }
            },
            Qt::QueuedConnection);
        return true;
    }
    return WizardPage::eventFilter(watched, event);
}

}  // namespace pendra::setup
