#include "setup/gui/FolderLabelDelegate.h"

namespace pendra::setup {

QWidget* FolderLabelDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                           const QModelIndex& index) const {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    editor_ = qobject_cast<QLineEdit*>(editor);
    if (editor_ != nullptr) {
        editor_->installEventFilter(this->parent());
    }
    return editor;
}

void FolderLabelDelegate::setModelData(QWidget* editor, QAbstractItemModel* /*model*/,
                                       const QModelIndex& /*index*/) const {
    if (const auto* line = qobject_cast<QLineEdit*>(editor)) {
        emit labelEdited(line->text());
    }
}

void FolderLabelDelegate::confirm() {
    if (editor_ != nullptr) {
        QLineEdit* const editor = editor_;
        emit commitData(editor);
        emit closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

}  // namespace pendra::setup
