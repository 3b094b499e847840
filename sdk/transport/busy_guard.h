// Keeps the application's window disabled while a LAN operation waits on the caller's thread,
// through the window-lock hook the application registered. Without hooks nothing is locked.
#pragma once

#include "link/wait_hooks.h"

namespace kxlf {

class BusyGuard {
 public:
  BusyGuard() : hooks_(CurrentWaitHooks()) {
    if (hooks_.lockWindow != nullptr && hooks_.unlockWindow != nullptr) {
      state_ = hooks_.lockWindow(hooks_.context);
      locked_ = true;
    }
  }
  ~BusyGuard() {
    if (locked_)
      hooks_.unlockWindow(hooks_.context, state_);
  }
  BusyGuard(const BusyGuard&) = delete;
  BusyGuard& operator=(const BusyGuard&) = delete;

 private:
  WaitHooks hooks_;
  void* state_ = nullptr;
  bool locked_ = false;
};

}  // namespace kxlf
