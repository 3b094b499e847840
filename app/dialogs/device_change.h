// Device-change notifications: the message a dialog receives when devices come or go, with the
// event code as its first argument, and the watcher that posts it.
#pragma once

#include <cstdint>
#include <memory>

namespace kx::ui {
class MessageTarget;
}

namespace kx::dialogs {

inline constexpr int kDeviceChangeMessage = 0x0219;

// Event codes of a device-change notification.
namespace device_event {
inline constexpr intptr_t kNodesChanged = 0x0007;
inline constexpr intptr_t kConfigChanged = 0x0018;
inline constexpr intptr_t kArrival = 0x8000;
inline constexpr intptr_t kRemoveComplete = 0x8004;
}  // namespace device_event

// Posts kDeviceChangeMessage to its target while it watches.
class DeviceChangeMonitor {
 public:
  virtual ~DeviceChangeMonitor() = default;
  // Replaces any earlier target. False when the system cannot be watched; the dialog then works
  // without notifications.
  virtual bool Start(std::shared_ptr<ui::MessageTarget> target) = 0;
  virtual void Stop() = 0;
};

}  // namespace kx::dialogs
