// The control accessors of Dialog.
#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <algorithm>

#include "framework/control_factory.h"
#include "framework/dialog.h"
#include "framework/edit_controls.h"
#include "framework/ip_address_control.h"
#include "framework/item_value_look.h"

namespace kx::ui {

namespace {

// Lists and combo boxes answer the same questions.
int CountOf(const QWidget* widget) {
  if (const auto* list = qobject_cast<const QListWidget*>(widget))
    return list->count();
  if (const auto* combo = qobject_cast<const QComboBox*>(widget))
    return combo->count();
  return 0;
}

QString TextAt(const QWidget* widget, int index) {
  if (index < 0 || index >= CountOf(widget))
    return QString();
  if (const auto* list = qobject_cast<const QListWidget*>(widget))
    return list->item(index)->text();
  return static_cast<const QComboBox*>(widget)->itemText(index);
}

}  // namespace

QWidget* Dialog::Item(int id) const {
  const Control* control = Find(id);
  return control != nullptr ? control->widget : nullptr;
}

QString Dialog::ItemText(int id) const {
  const Control* control = Find(id);
  return control != nullptr ? ControlText(control->widget, control->kind) : QString();
}

void Dialog::SetItemText(int id, const QString& text) {
  if (const Control* control = Find(id))
    SetControlText(control->widget, control->kind, control->style, text);
}

int Dialog::IsChecked(int id) const {
  const auto* button = ItemAs<QAbstractButton>(id);
  return button != nullptr && button->isCheckable() && button->isChecked() ? 1 : 0;
}

void Dialog::CheckButton(int id, bool checked) {
  auto* button = ItemAs<QAbstractButton>(id);
  if (button == nullptr || !button->isCheckable())
    return;
  const Control* control = Find(id);
  if (!checked && control->radioGroup != nullptr) {
    // An exclusive group keeps its checked radio; unchecking it needs the rule lifted.
    control->radioGroup->setExclusive(false);
    button->setChecked(false);
    control->radioGroup->setExclusive(true);
    return;
  }
  button->setChecked(checked);
}

int Dialog::RadioIndex(int id) const {
  const Control* control = Find(id);
  if (control == nullptr || control->radioGroup == nullptr)
    return -1;
  const QList<QAbstractButton*> radios = control->radioGroup->buttons();
  for (qsizetype i = 0; i < radios.size(); ++i) {
    if (radios[i]->isChecked())
      return static_cast<int>(i);
  }
  return -1;
}

void Dialog::SetRadioIndex(int id, int index) {
  const Control* control = Find(id);
  if (control == nullptr || control->radioGroup == nullptr)
    return;
  QButtonGroup* group = control->radioGroup;
  const QList<QAbstractButton*> radios = group->buttons();
  group->setExclusive(false);
  for (qsizetype i = 0; i < radios.size(); ++i)
    radios[i]->setChecked(i == index);
  group->setExclusive(true);
}

void Dialog::EnableItem(int id, bool enabled) {
  if (QWidget* widget = Item(id))
    widget->setEnabled(enabled);
}

bool Dialog::IsItemEnabled(int id) const {
  const QWidget* widget = Item(id);
  return widget != nullptr && widget->isEnabledTo(this);
}

void Dialog::ShowItem(int id, bool shown) {
  if (QWidget* widget = Item(id))
    widget->setVisible(shown);
}

bool Dialog::IsItemShown(int id) const {
  const QWidget* widget = Item(id);
  return widget != nullptr && !widget->isHidden();
}

QRect Dialog::ItemRect(int id) const {
  const QWidget* widget = Item(id);
  return widget != nullptr ? widget->geometry() : QRect();
}

void Dialog::SetItemRect(int id, const QRect& rect) {
  if (QWidget* widget = Item(id)) {
    widget->setGeometry(rect);
    widget->update();
  }
}

void Dialog::SetTextLimit(int id, int characters) {
  if (auto* line = ItemAs<LineEdit>(id))
    line->SetTextLimit(characters);
  else if (auto* multi = ItemAs<MultiLineEdit>(id))
    multi->SetTextLimit(characters);
}

int Dialog::TextLimit(int id) const {
  if (const auto* line = ItemAs<LineEdit>(id))
    return line->TextLimit();
  if (const auto* multi = ItemAs<MultiLineEdit>(id))
    return multi->TextLimit();
  return 0;
}

uint32_t Dialog::ItemStyle(int id) const {
  const Control* control = Find(id);
  return control != nullptr ? control->style : 0;
}

void Dialog::ModifyStyle(int id, uint32_t remove, uint32_t add) {
  const auto found = std::find_if(controls_.begin(), controls_.end(),
                                  [id](const Control& control) { return control.id == id; });
  if (found == controls_.end())
    return;
  const bool notified = found->style & res::style::kNotify;
  found->style = (found->style & ~remove) | add;
  const bool notifies = found->style & res::style::kNotify;
  if (notified != notifies && qobject_cast<QLabel*>(found->widget) != nullptr) {
    if (notifies)
      found->widget->setCursor(Qt::PointingHandCursor);
    else
      found->widget->unsetCursor();
  }
}

void Dialog::FocusItem(int id) {
  QWidget* widget = Item(id);
  if (widget == nullptr)
    return;
  widget->setFocus(Qt::OtherFocusReason);
  if (auto* line = qobject_cast<QLineEdit*>(widget))
    line->selectAll();
  else if (auto* address = qobject_cast<IpAddressControl*>(widget))
    address->FocusField(0);
  else if (auto* multi = qobject_cast<QPlainTextEdit*>(widget))
    multi->selectAll();
}

int Dialog::ListAdd(int id, const QString& text) {
  QWidget* widget = Item(id);
  if (auto* list = qobject_cast<QListWidget*>(widget)) {
    auto* item = new QListWidgetItem(text);
    list->addItem(item);
    return list->row(item);
  }
  if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    combo->addItem(text);
    return combo->count() - 1;
  }
  return -1;
}

int Dialog::ListInsert(int id, int index, const QString& text) {
  QWidget* widget = Item(id);
  const int count = CountOf(widget);
  const int at = (index < 0 || index > count) ? count : index;
  ++quietSelection_;
  int placed = -1;
  if (auto* list = qobject_cast<QListWidget*>(widget)) {
    auto* item = new QListWidgetItem(text);
    list->insertItem(at, item);
    placed = list->row(item);  // a sorted list puts it in its place
  } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    combo->insertItem(at, text);
    placed = at;
  }
  --quietSelection_;
  return placed;
}

bool Dialog::ListDelete(int id, int index) {
  QWidget* widget = Item(id);
  if (index < 0 || index >= CountOf(widget))
    return false;
  ++quietSelection_;
  if (auto* list = qobject_cast<QListWidget*>(widget))
    delete list->takeItem(index);
  else
    static_cast<QComboBox*>(widget)->removeItem(index);
  --quietSelection_;
  return true;
}

bool Dialog::ListSetItemValue(int id, int index, int value) {
  QWidget* widget = Item(id);
  if (index < 0 || index >= CountOf(widget))
    return false;
  if (auto* list = qobject_cast<QListWidget*>(widget))
    list->item(index)->setData(kItemValueRole, value);
  else
    static_cast<QComboBox*>(widget)->setItemData(index, value, kItemValueRole);
  return true;
}

int Dialog::ListItemValue(int id, int index) const {
  const QWidget* widget = Item(id);
  if (index < 0 || index >= CountOf(widget))
    return 0;
  if (const auto* list = qobject_cast<const QListWidget*>(widget))
    return list->item(index)->data(kItemValueRole).toInt();
  return static_cast<const QComboBox*>(widget)->itemData(index, kItemValueRole).toInt();
}

void Dialog::ListReset(int id) {
  QWidget* widget = Item(id);
  ++quietSelection_;
  if (auto* list = qobject_cast<QListWidget*>(widget))
    list->clear();
  else if (auto* combo = qobject_cast<QComboBox*>(widget))
    combo->clear();
  --quietSelection_;
}

int Dialog::ListCount(int id) const {
  return CountOf(Item(id));
}

QString Dialog::ListText(int id, int index) const {
  return TextAt(Item(id), index);
}

int Dialog::ListCurrent(int id) const {
  const QWidget* widget = Item(id);
  if (const auto* list = qobject_cast<const QListWidget*>(widget)) {
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.front());
  }
  if (const auto* combo = qobject_cast<const QComboBox*>(widget))
    return combo->currentIndex();
  return -1;
}

void Dialog::ListSetCurrent(int id, int index) {
  QWidget* widget = Item(id);
  const bool valid = index >= 0 && index < CountOf(widget);
  ++quietSelection_;
  if (auto* list = qobject_cast<QListWidget*>(widget)) {
    if (valid)
      list->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
    else
      list->clearSelection();
  } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    combo->setCurrentIndex(valid ? index : -1);
  }
  --quietSelection_;
}

int Dialog::ListFindPrefix(int id, const QString& prefix, int after) const {
  const QWidget* widget = Item(id);
  const int count = CountOf(widget);
  if (prefix.isEmpty() || count == 0)
    return -1;
  const int start = (after < 0 || after >= count) ? 0 : after + 1;
  for (int step = 0; step < count; ++step) {
    const int index = (start + step) % count;
    if (TextAt(widget, index).startsWith(prefix, Qt::CaseInsensitive))
      return index;
  }
  return -1;
}

int Dialog::ListFindExact(int id, const QString& text, Qt::CaseSensitivity sensitivity) const {
  const QWidget* widget = Item(id);
  for (int index = 0; index < CountOf(widget); ++index) {
    if (TextAt(widget, index).compare(text, sensitivity) == 0)
      return index;
  }
  return -1;
}

}  // namespace kx::ui
