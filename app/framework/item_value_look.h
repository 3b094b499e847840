// Item values of list and combo boxes, and a look of list items that follows them. Every item of
// a list or combo box can carry an integer (Dialog::ListSetItemValue); a list box with the
// template style kOwnerDraw draws an item whose value is kMarkedItemValue in italics, and in red
// while it is not selected, so that entries of lesser standing stand out from the rest.
#pragma once

#include <QColor>
#include <QStyledItemDelegate>

namespace kx::ui {

// Where an item keeps its value.
inline constexpr int kItemValueRole = Qt::UserRole;
// The value of items drawn marked.
inline constexpr int kMarkedItemValue = 2;
// Text colour of marked items while they are not selected.
inline const QColor kMarkedItemColour{255, 0, 0};

class ItemValueLook : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  // The list's font, italic for marked items; selected items keep the highlight colours.
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

}  // namespace kx::ui
