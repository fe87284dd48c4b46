#pragma once

#include <QLineEdit>
#include <QPointer>
#include <QStyledItemDelegate>

namespace pendra::setup {

// Edits a folder's label in the tree but leaves the item as it is: the folder page decides
// what becomes of the text, also when it did not change.
class FolderLabelDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

    // The open label editor, if any.
    QLineEdit* editor() const { return editor_; }
    // Ends the open edit as if it were confirmed.
    void confirm();

signals:
    void labelEdited(const QString& text) const;

private:
    mutable QPointer<QLineEdit> editor_;
};

}  // namespace pendra::setup
