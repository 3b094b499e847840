// A dialog built from a template of the resources: its controls are found by id, move their
// values to and from the dialog's members in one data exchange, and report clicks and changes as
// commands. The dialog offers window timers by id, posted messages, a command menu, and ends with
// a code that DoModal returns.
//
// A derived dialog overrides the On… hooks it needs, binds command handlers (Bind), and writes
// DoDataExchange with the calls of DataExchange. Everything runs on the GUI thread; only a
// MessageTarget may be used from other threads.
#pragma once

#include <QDialog>
#include <QRect>
#include <QString>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "framework/data_exchange.h"
#include "framework/dialog_units.h"
#include "framework/messages.h"
#include "framework/prompt_service.h"
#include "framework/resource_format.h"
#include "framework/services.h"
#include "framework/system_menu.h"

class QButtonGroup;
class QMenuBar;
class QVBoxLayout;

namespace kx::ui {

class MessageTarget;

// Ids with a meaning of their own: Enter sends kIdOk, Escape and the close box kIdCancel.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;

class Dialog : public QDialog {
  Q_OBJECT

 public:
  Dialog(Services& services, int templateId, QWidget* parent = nullptr);
  ~Dialog() override;

  // Builds the window, runs OnInitDialog and the dialog until EndDialog, then OnDestroy. Returns
  // the end code, or -1 when the template does not exist. The same object may run again: each
  // run builds a fresh window.
  int DoModal();
  // Builds the window and runs OnInitDialog without showing it; for a dialog that is shown
  // modelessly, and for tests. False when the template does not exist.
  bool Create();
  // Runs OnDestroy and takes the window down; the object stays.
  void Destroy();
  bool HasWindow() const { return built_; }
  // Ends the modal run with the code; also from OnInitDialog, before the dialog shows.
  void EndDialog(int code);

  Services& services() const { return services_; }
  int templateId() const { return templateId_; }
  // Converts the template's units for this dialog's font.
  const DialogUnits& units() const { return units_; }

  // Controls by id. Null, empty, 0 or false for an id that the template does not have.
  QWidget* Item(int id) const;
  template <typename Widget>
  Widget* ItemAs(int id) const {
    return qobject_cast<Widget*>(Item(id));
  }
  QString ItemText(int id) const;
  void SetItemText(int id, const QString& text);
  // Check boxes, radios and their push-like forms: 1 when checked.
  int IsChecked(int id) const;
  void CheckButton(int id, bool checked);
  // The radio group that holds the control: index of the checked radio in template order, -1 for
  // none; an index outside the group unchecks them all.
  int RadioIndex(int id) const;
  void SetRadioIndex(int id, int index);
  void EnableItem(int id, bool enabled);
  // The control's own state, whatever the window's.
  bool IsItemEnabled(int id) const;
  void ShowItem(int id, bool shown);
  bool IsItemShown(int id) const;
  // Pixels in the dialog's client area.
  QRect ItemRect(int id) const;
  void SetItemRect(int id, const QRect& rect);
  // Edits: the most characters the operator can type; 0 for no limit.
  void SetTextLimit(int id, int characters);
  int TextLimit(int id) const;
  // The control's styles (res::style), as the template gave them and ModifyStyle changed them.
  uint32_t ItemStyle(int id) const;
  // Removes, then adds styles. Of the styles, only kNotify of labels and pictures takes effect
  // after the window is built: without it they take no clicks.
  void ModifyStyle(int id, uint32_t remove, uint32_t add);
  // Moves the focus to the control; an edit gets its whole text selected, an address control its
  // first field.
  void FocusItem(int id);

  // List and combo boxes. A change made here is not reported as a selection change.
  int ListAdd(int id, const QString& text);  // index of the new item
  // Inserts before index; -1 or an index past the end appends. Index of the new item, -1 for an
  // id that is no list.
  int ListInsert(int id, int index, const QString& text);
  bool ListDelete(int id, int index);  // false when there is no such item
  void ListReset(int id);
  // An integer that the item carries, 0 until set (item_value_look.h draws lists by it). False
  // when there is no such item.
  bool ListSetItemValue(int id, int index, int value);
  int ListItemValue(int id, int index) const;
  int ListCount(int id) const;
  QString ListText(int id, int index) const;
  int ListCurrent(int id) const;  // -1: none
  void ListSetCurrent(int id, int index);
  // First item from index after + 1 on (wrapping round) that begins with prefix, ignoring case;
  // -1 when none does or the prefix is empty.
  int ListFindPrefix(int id, const QString& prefix, int after = -1) const;
  int ListFindExact(int id, const QString& text,
                    Qt::CaseSensitivity sensitivity = Qt::CaseSensitive) const;

  // Moves the values between controls and members: saveAndValidate true takes the controls'
  // values over (with validation), false puts the members into the controls. False when a
  // validation failed; its message box has been shown.
  bool UpdateData(bool saveAndValidate = true);

  // Command handlers; a later Bind for the same id and notification replaces the earlier one.
  void Bind(int id, Notification notification, std::function<void()> handler);
  void BindClicked(int id, std::function<void()> handler) {
    Bind(id, Notification::kClicked, std::move(handler));
  }
  // Runs the command at once, as a control would report it.
  void SendCommand(int id, Notification notification = Notification::kClicked);

  // Window timers: OnTimer(id) every period until killed. Setting a running id restarts it with
  // the new period; periods below 10 ms are 10 ms. Timers end with the window.
  int SetTimer(int id, int milliseconds);
  bool KillTimer(int id);
  bool IsTimerRunning(int id) const;

  // Queues a message for OnMessage; msg::kCommand is delivered as a command. False when the
  // window does not exist.
  bool PostMessage(int message, intptr_t first = 0, intptr_t second = 0);
  // For other threads: posts to this dialog's current window; null while there is none.
  std::shared_ptr<MessageTarget> Target() const { return target_; }

  // The window's command menu, made on the first call (it then appears in a menu bar above the
  // controls). It starts with the close item (sys_cmd::kClose).
  SystemMenu& GetSystemMenu();
  // Opens the menu as a click on it would (does not wait for a choice).
  void OpenSystemMenu();
  bool HasSystemMenu() const { return systemMenu_ != nullptr; }

  // A message box with the application title as caption.
  Answer MessageBox(const QString& text, Buttons buttons = Buttons::kOk,
                    Icon icon = Icon::kExclamation);
  QString LoadString(int id) const { return services_.LoadString(id); }

 protected:
  // After the controls exist: the base puts the members into the controls (UpdateData(false)).
  // Returning true moves the focus to the first control that takes it.
  virtual bool OnInitDialog();
  virtual void DoDataExchange(DataExchange& exchange);
  // Enter: the base takes the values over and ends with kIdOk when that succeeds.
  virtual void OnOK();
  // Escape, the close box and kIdCancel: the base ends with kIdCancel.
  virtual void OnCancel();
  // Commands without a bound handler; the base sends kIdOk and kIdCancel clicks to OnOK and
  // OnCancel. Returns whether the command was handled.
  virtual bool OnCommand(int id, Notification notification);
  virtual void OnTimer(int id);
  // Posted messages; return true when handled. Unhandled msg::kCommand goes on as a command.
  virtual bool OnMessage(int message, intptr_t first, intptr_t second);
  // Each time the command menu opens, before it shows.
  virtual void OnSystemMenuOpening();
  // An item of the command menu was chosen; the base closes on sys_cmd::kClose.
  virtual void OnSysCommand(int commandId);
  // F1; the base asks the services for help.
  virtual void OnHelp();
  // Before the window goes, with every control still there.
  virtual void OnDestroy();

  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  struct Control {
    int id;
    res::ControlKind kind;
    uint32_t style;
    QWidget* widget;
    QButtonGroup* radioGroup;  // radios only
  };

  bool Build();
  void Teardown();
  void AddControl(const res::ControlTemplate& control, QButtonGroup*& openGroup);
  void ConnectNotifications(const Control& control);
  void Notify(int id, Notification notification);
  void CloseRequested();
  void FocusFirstControl();
  const Control* Find(int id) const;

  Services& services_;
  const int templateId_;
  DialogUnits units_{0, 0};
  bool built_ = false;
  bool running_ = false;
  bool ended_ = false;
  int endCode_ = 0;
  int quietSelection_ = 0;  // > 0 while the program changes a list's selection

  QVBoxLayout* layout_ = nullptr;
  QWidget* client_ = nullptr;
  QMenuBar* menuBar_ = nullptr;
  std::unique_ptr<SystemMenu> systemMenu_;
  std::vector<Control> controls_;
  std::map<std::pair<int, Notification>, std::function<void()>> handlers_;
  std::map<int, int> timers_;  // timer id -> Qt timer id
  std::shared_ptr<MessageTarget> target_;
};

}  // namespace kx::ui
