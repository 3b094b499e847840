#include "framework/system_menu.h"

#include <QAction>
#include <QMenu>

namespace kx::ui {

SystemMenu::SystemMenu(QMenu* menu) : menu_(menu) {}

void SystemMenu::AppendSeparator() {
  menu_->addSeparator();
}

void SystemMenu::Append(int commandId, const QString& text) {
  menu_->addAction(text)->setData(commandId);
}

bool SystemMenu::SetText(int commandId, const QString& text) {
  QAction* action = Find(commandId);
  if (action == nullptr)
    return false;
  action->setText(text);
  return true;
}

bool SystemMenu::Enable(int commandId, bool enabled) {
  QAction* action = Find(commandId);
  if (action == nullptr)
    return false;
  action->setEnabled(enabled);
  return true;
}

QString SystemMenu::Text(int commandId) const {
  const QAction* action = Find(commandId);
  return action != nullptr ? action->text() : QString();
}

bool SystemMenu::IsEnabled(int commandId) const {
  const QAction* action = Find(commandId);
  return action != nullptr && action->isEnabled();
}

std::vector<int> SystemMenu::Items() const {
  std::vector<int> items;
  for (const QAction* action : menu_->actions())
    items.push_back(action->isSeparator() ? 0 : CommandOf(action));
  return items;
}

int SystemMenu::CommandOf(const QAction* action) {
  return action->data().toInt();
}

QAction* SystemMenu::Find(int commandId) const {
  for (QAction* action : menu_->actions()) {
    if (!action->isSeparator() && CommandOf(action) == commandId)
      return action;
  }
  return nullptr;
}

}  // namespace kx::ui
