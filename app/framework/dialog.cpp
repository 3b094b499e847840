#include "framework/dialog.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTimerEvent>
#include <QVBoxLayout>
#include <algorithm>

#include "framework/control_factory.h"
#include "framework/data_exchange.h"
#include "framework/framework_strings.h"
#include "framework/ip_address_control.h"
#include "framework/message_target.h"
#include "framework/resources.h"
#include "framework/system_menu.h"

namespace kx::ui {

namespace {

constexpr char kIdProperty[] = "kxControlId";
// Shorter periods would keep the event loop from everything else.
constexpr int kShortestTimerPeriod = 10;

Qt::WindowFlags FlagsFor(uint32_t style) {
  Qt::WindowFlags flags = Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  flags |= (style & res::dialog_style::kAppWindow) ? Qt::Window : Qt::Dialog;
  if (style & res::dialog_style::kSystemMenu)
    flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  if (style & res::dialog_style::kMinimizeBox)
    flags |= Qt::WindowMinimizeButtonHint;
  if (style & res::dialog_style::kMaximizeBox)
    flags |= Qt::WindowMaximizeButtonHint;
  return flags;
}

}  // namespace

Dialog::Dialog(Services& services, int templateId, QWidget* parent)
    : QDialog(parent), services_(services), templateId_(templateId) {}

Dialog::~Dialog() {
  // A derived dialog is gone by now, so OnDestroy cannot run here: DoModal and Destroy run it.
  Teardown();
}

int Dialog::DoModal() {
  if (!Create())
    return -1;
  if (!ended_) {
    running_ = true;
    exec();
    running_ = false;
  }
  const int code = ended_ ? endCode_ : result();
  Destroy();
  return code;
}

bool Dialog::Create() {
  if (built_)
    return true;
  if (!Build())
    return false;
  if (OnInitDialog())
    FocusFirstControl();
  return true;
}

void Dialog::Destroy() {
  if (!built_)
    return;
  OnDestroy();
  Teardown();
}

void Dialog::EndDialog(int code) {
  ended_ = true;
  endCode_ = code;
  if (running_)
    done(code);
}

bool Dialog::Build() {
  const res::DialogTemplate* dialog = services_.resources().FindDialog(templateId_);
  if (dialog == nullptr)
    return false;
  ended_ = false;
  endCode_ = 0;
  setResult(0);

  const QFont font = DialogFont(*dialog);
  setFont(font);
  units_ = DialogUnits::ForFont(font);
  setWindowTitle(QString::fromUtf8(dialog->caption));
  setWindowFlags(FlagsFor(dialog->style));

  layout_ = new QVBoxLayout(this);
  layout_->setContentsMargins(0, 0, 0, 0);
  layout_->setSpacing(0);
  client_ = new QWidget(this);
  const QSize size = units_.ToPixels(dialog->width, dialog->height);
  if (dialog->style & res::dialog_style::kResizable) {
    client_->setMinimumSize(size);
    client_->resize(size);
  } else {
    client_->setFixedSize(size);
    layout_->setSizeConstraint(QLayout::SetFixedSize);
  }
  layout_->addWidget(client_);
  if (menuBar_ != nullptr)
    layout_->setMenuBar(menuBar_);

  QButtonGroup* openGroup = nullptr;
  for (size_t i = 0; i < dialog->controlCount; ++i)
    AddControl(dialog->controls[i], openGroup);
  target_ = std::make_shared<MessageTarget>(this);
  built_ = true;
  for (const Control& control : controls_)
    ConnectNotifications(control);
  return true;
}

void Dialog::AddControl(const res::ControlTemplate& control, QButtonGroup*& openGroup) {
  QWidget* widget = CreateControl(control, units_.ToPixels(control.rect), client_);
  widget->setProperty(kIdProperty, control.id);
  if (control.kind == res::ControlKind::kPicture) {
    static_cast<QLabel*>(widget)->setPixmap(
        services_.resources().Picture(QString::fromUtf8(control.text).toInt()));
  }
  QButtonGroup* group = nullptr;
  if (control.kind == res::ControlKind::kRadioButton) {
    // Radios that follow one another form a group; the group style starts a new one.
    if (openGroup == nullptr || (control.style & res::style::kGroup))
      openGroup = new QButtonGroup(client_);
    group = openGroup;
    group->addButton(static_cast<QAbstractButton*>(widget));
  } else {
    openGroup = nullptr;
  }
  controls_.push_back({control.id, control.kind, control.style, widget, group});
}

void Dialog::ConnectNotifications(const Control& control) {
  const int id = control.id;
  QWidget* widget = control.widget;
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    connect(button, &QAbstractButton::clicked, this,
            [this, id] { Notify(id, Notification::kClicked); });
  } else if (auto* line = qobject_cast<QLineEdit*>(widget)) {
    connect(line, &QLineEdit::textChanged, this, [this, id] { Notify(id, Notification::kChange); });
    widget->installEventFilter(this);
  } else if (auto* multi = qobject_cast<QPlainTextEdit*>(widget)) {
    connect(multi, &QPlainTextEdit::textChanged, this,
            [this, id] { Notify(id, Notification::kChange); });
    widget->installEventFilter(this);
  } else if (auto* address = qobject_cast<IpAddressControl*>(widget)) {
    connect(address, &IpAddressControl::AddressChanged, this,
            [this, id] { Notify(id, Notification::kChange); });
    // As an edit's: a menu that opens leaves the focus where it is.
    connect(address, &IpAddressControl::FocusEntered, this,
            [this, id] { Notify(id, Notification::kSetFocus); });
    connect(address, &IpAddressControl::FocusLeft, this, [this, id](Qt::FocusReason reason) {
      if (reason != Qt::PopupFocusReason)
        Notify(id, Notification::kKillFocus);
    });
  } else if (auto* list = qobject_cast<QListWidget*>(widget)) {
    connect(list, &QListWidget::itemSelectionChanged, this, [this, id] {
      if (quietSelection_ == 0)
        Notify(id, Notification::kSelChange);
    });
    connect(list, &QListWidget::itemDoubleClicked, this,
            [this, id] { Notify(id, Notification::kDoubleClicked); });
  } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    // Only a choice of the operator's, as the list box.
    connect(combo, &QComboBox::activated, this,
            [this, id] { Notify(id, Notification::kSelChange); });
  } else if (qobject_cast<QLabel*>(widget) != nullptr) {
    // Clicks count only while the label has the notify style (ModifyStyle may change it).
    widget->installEventFilter(this);
  }
}

void Dialog::Teardown() {
  if (!built_)
    return;
  built_ = false;
  for (const auto& [id, qtId] : timers_)
    killTimer(qtId);
  timers_.clear();
  target_->Detach();
  target_.reset();
  // Nothing a control does from now on reaches the dialog: the window's deactivation while it is
  // destroyed still moves the focus out of a control.
  for (const Control& control : controls_)
    control.widget->disconnect(this);
  controls_.clear();
  systemMenu_.reset();
  // Widgets go later, so that a control's own signal that is still running finds them.
  client_->hide();
  client_->deleteLater();
  client_ = nullptr;
  if (menuBar_ != nullptr)
    menuBar_->deleteLater();
  menuBar_ = nullptr;
  delete layout_;
  layout_ = nullptr;
  for (QShortcut* shortcut : findChildren<QShortcut*>(Qt::FindDirectChildrenOnly))
    delete shortcut;
}

void Dialog::Notify(int id, Notification notification) {
  if (built_)
    SendCommand(id, notification);
}

void Dialog::Bind(int id, Notification notification, std::function<void()> handler) {
  handlers_[{id, notification}] = std::move(handler);
}

void Dialog::SendCommand(int id, Notification notification) {
  const auto found = handlers_.find({id, notification});
  if (found != handlers_.end()) {
    // A copy: the handler may bind anew while it runs.
    const std::function<void()> handler = found->second;
    handler();
    return;
  }
  OnCommand(id, notification);
}

bool Dialog::UpdateData(bool saveAndValidate) {
  if (!built_)
    return false;
  DataExchange exchange(*this, saveAndValidate);
  DoDataExchange(exchange);
  return exchange.Ok();
}

int Dialog::SetTimer(int id, int milliseconds) {
  KillTimer(id);
  timers_[id] = startTimer(std::max(milliseconds, kShortestTimerPeriod));
  return id;
}

bool Dialog::KillTimer(int id) {
  const auto found = timers_.find(id);
  if (found == timers_.end())
    return false;
  killTimer(found->second);
  timers_.erase(found);
  return true;
}

bool Dialog::IsTimerRunning(int id) const {
  return timers_.count(id) != 0;
}

bool Dialog::PostMessage(int message, intptr_t first, intptr_t second) {
  return target_ != nullptr && target_->Post(message, first, second);
}

SystemMenu& Dialog::GetSystemMenu() {
  if (systemMenu_ != nullptr)
    return *systemMenu_;
  menuBar_ = new QMenuBar(this);
  if (layout_ != nullptr)
    layout_->setMenuBar(menuBar_);
  QMenu* menu = menuBar_->addMenu(LoadString(strings::kSystemMenuTitle));
  systemMenu_ = std::make_unique<SystemMenu>(menu);
  systemMenu_->Append(sys_cmd::kClose, LoadString(strings::kSystemMenuClose));
  connect(menu, &QMenu::aboutToShow, this, [this] { OnSystemMenuOpening(); });
  connect(menu, &QMenu::triggered, this,
          [this](QAction* action) { OnSysCommand(SystemMenu::CommandOf(action)); });
  auto* shortcut = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), this);
  connect(shortcut, &QShortcut::activated, this, &Dialog::OpenSystemMenu);
  return *systemMenu_;
}

void Dialog::OpenSystemMenu() {
  if (systemMenu_ == nullptr)
    return;
  QMenu* menu = systemMenu_->menu();
  menuBar_->setActiveAction(menu->menuAction());
  if (!menu->isVisible())
    menu->popup(menuBar_->mapToGlobal(menuBar_->actionGeometry(menu->menuAction()).bottomLeft()));
}

Answer Dialog::MessageBox(const QString& text, Buttons buttons, Icon icon) {
  return services_.MessageBox(this, text, buttons, icon);
}

bool Dialog::OnInitDialog() {
  UpdateData(false);
  return true;
}

void Dialog::DoDataExchange(DataExchange&) {}

void Dialog::OnOK() {
  if (UpdateData(true))
    EndDialog(kIdOk);
}

void Dialog::OnCancel() {
  EndDialog(kIdCancel);
}

bool Dialog::OnCommand(int id, Notification notification) {
  if (notification != Notification::kClicked)
    return false;
  if (id == kIdOk) {
    OnOK();
    return true;
  }
  if (id == kIdCancel) {
    OnCancel();
    return true;
  }
  return false;
}

void Dialog::OnTimer(int) {}

bool Dialog::OnMessage(int, intptr_t, intptr_t) {
  return false;
}

void Dialog::OnSystemMenuOpening() {}

void Dialog::OnSysCommand(int commandId) {
  if (commandId == sys_cmd::kClose)
    CloseRequested();
}

void Dialog::OnHelp() {
  services_.ShowHelp(this);
}

void Dialog::OnDestroy() {}

bool Dialog::event(QEvent* event) {
  if (event->type() == PostedMessageEvent::EventType()) {
    const auto* posted = static_cast<PostedMessageEvent*>(event);
    if (built_ && !OnMessage(posted->message(), posted->first(), posted->second()) &&
        posted->message() == msg::kCommand)
      SendCommand(CommandId(posted->first()), CommandNotification(posted->first()));
    return true;
  }
  if (event->type() == QEvent::Timer) {
    const int qtId = static_cast<QTimerEvent*>(event)->timerId();
    const auto found = std::find_if(timers_.begin(), timers_.end(),
                                    [qtId](const auto& timer) { return timer.second == qtId; });
    if (found != timers_.end()) {
      OnTimer(found->first);
      return true;
    }
  }
  return QDialog::event(event);
}

bool Dialog::eventFilter(QObject* watched, QEvent* event) {
  const QVariant id = watched->property(kIdProperty);
  if (id.isValid()) {
    switch (event->type()) {
      case QEvent::FocusIn:
        Notify(id.toInt(), Notification::kSetFocus);
        break;
      case QEvent::FocusOut:
        // A menu that opens leaves the focus where it is.
        if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
          Notify(id.toInt(), Notification::kKillFocus);
        break;
      case QEvent::MouseButtonRelease:
        if (qobject_cast<QLabel*>(watched) != nullptr &&
            (ItemStyle(id.toInt()) & res::style::kNotify))
          Notify(id.toInt(), Notification::kClicked);
        break;
      default:
        break;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void Dialog::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: {
      // Enter belongs to the focused push button, then to the default button, then to kIdOk.
      auto* focused = qobject_cast<QPushButton*>(focusWidget());
      if (focused != nullptr && !focused->isCheckable() && focused->isEnabled()) {
        focused->click();
        return;
      }
      for (const Control& control : controls_) {
        if (control.kind == res::ControlKind::kButton && (control.style & res::style::kDefault)) {
          auto* button = static_cast<QPushButton*>(control.widget);
          if (button->isEnabled() && button->isVisible())
            button->click();
          return;
        }
      }
      SendCommand(kIdOk);
      return;
    }
    case Qt::Key_Escape:
      SendCommand(kIdCancel);
      return;
    case Qt::Key_F1:
      OnHelp();
      return;
    default:
      QDialog::keyPressEvent(event);
  }
}

void Dialog::closeEvent(QCloseEvent* event) {
  event->ignore();
  CloseRequested();
}

void Dialog::CloseRequested() {
  // A dialog whose cancel button is disabled cannot be closed.
  const Control* cancel = Find(kIdCancel);
  if (cancel != nullptr && !cancel->widget->isEnabled())
    return;
  SendCommand(kIdCancel);
}

void Dialog::FocusFirstControl() {
  for (const Control& control : controls_) {
    QWidget* widget = control.widget;
    if ((widget->focusPolicy() & Qt::TabFocus) && widget->isEnabled() && !widget->isHidden()) {
      widget->setFocus(Qt::OtherFocusReason);
      return;
    }
  }
}

const Dialog::Control* Dialog::Find(int id) const {
  for (const Control& control : controls_) {
    if (control.id == id)
      return &control;
  }
  return nullptr;
}

}  // namespace kx::ui
