#include "framework/item_value_look.h"

namespace kx::ui {

void ItemValueLook::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
  QStyledItemDelegate::initStyleOption(option, index);
  if (index.data(kItemValueRole).toInt() != kMarkedItemValue)
    return;
  option->font.setItalic(true);
  // The style draws selected text in the highlight colour, whatever the text colour says.
  option->palette.setColor(QPalette::Text, kMarkedItemColour);
}

}  // namespace kx::ui
