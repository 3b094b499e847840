// The window's command menu: items with command ids, changed by id. On Linux it is the one entry
// of a menu bar at the top of the dialog (also opened with Alt+Space); the dialog hears each time
// it opens, so that it can bring its items up to date first.
#pragma once

#include <QString>
#include <vector>

class QAction;
class QMenu;

namespace kx::ui {

class SystemMenu {
 public:
  explicit SystemMenu(QMenu* menu);

  void AppendSeparator();
  void Append(int commandId, const QString& text);
  // False when no item has the id.
  bool SetText(int commandId, const QString& text);
  bool Enable(int commandId, bool enabled);

  bool Contains(int commandId) const { return Find(commandId) != nullptr; }
  QString Text(int commandId) const;
  bool IsEnabled(int commandId) const;
  // Item ids in menu order, 0 for a separator.
  std::vector<int> Items() const;

  QMenu* menu() const { return menu_; }
  // The command id of an item of this menu.
  static int CommandOf(const QAction* action);

 private:
  QAction* Find(int commandId) const;

  QMenu* menu_;
};

}  // namespace kx::ui
