// How an application keeps its window alive while a reader command waits for its answer.
// The pump processes the application's pending window events; the window lock disables the
// active window before the wait and restores it (and its keyboard focus) afterwards. Without
// hooks the wait simply blocks until the answer or the timeout.
#pragma once

namespace kxlf {

struct WaitHooks {
  void (*pump)(void* context) = nullptr;
  // Returns what unlock needs to restore the window; called only when the connection does
  // not keep its window enabled.
  void* (*lockWindow)(void* context) = nullptr;
  void (*unlockWindow)(void* context, void* state) = nullptr;
  void* context = nullptr;
};

void SetWaitHooks(const WaitHooks& hooks);
WaitHooks CurrentWaitHooks();

}  // namespace kxlf
