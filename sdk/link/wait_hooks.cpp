#include "link/wait_hooks.h"

#include <mutex>

namespace kxlf {
namespace {

std::mutex& HooksMutex() {
  static std::mutex mutex;
  return mutex;
}

WaitHooks& Hooks() {
  static WaitHooks hooks;
  return hooks;
}

}  // namespace

void SetWaitHooks(const WaitHooks& hooks) {
  std::lock_guard<std::mutex> lock(HooksMutex());
  Hooks() = hooks;
}

WaitHooks CurrentWaitHooks() {
  std::lock_guard<std::mutex> lock(HooksMutex());
  return Hooks();
}

}  // namespace kxlf
