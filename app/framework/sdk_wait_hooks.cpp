#include "framework/sdk_wait_hooks.h"

#include <QApplication>
#include <QCoreApplication>
#include <QPointer>
#include <QWidget>

#include "kxlf.h"

namespace kx::ui {

namespace {

struct LockedWindow {
  QPointer<QWidget> window;
  QPointer<QWidget> focus;
};

void Pump(void*) {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void* LockWindow(void*) {
  // The window the operator works in: a modal dialog above the main window, else the active one.
  QWidget* window = QApplication::activeModalWidget();
  if (window == nullptr)
    window = QApplication::activeWindow();
  if (window == nullptr || !window->isEnabled())
    return nullptr;
  auto* locked = new LockedWindow{window, QApplication::focusWidget()};
  window->setEnabled(false);
  return locked;
}

void UnlockWindow(void*, void* state) {
  auto* locked = static_cast<LockedWindow*>(state);
  if (locked == nullptr)
    return;
  if (locked->window != nullptr)
    locked->window->setEnabled(true);
  if (locked->focus != nullptr)
    locked->focus->setFocus(Qt::OtherFocusReason);
  delete locked;
}

}  // namespace

void RegisterSdkWaitHooks() {
  KxLfSetWaitHooks(Pump, LockWindow, UnlockWindow, nullptr);
}

void UnregisterSdkWaitHooks() {
  KxLfSetWaitHooks(nullptr, nullptr, nullptr, nullptr);
}

}  // namespace kx::ui
