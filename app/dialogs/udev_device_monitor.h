// Device changes from udev: serial ports, USB devices and HID devices coming and going. The
// monitor's socket is watched on the GUI thread; the events read in one go become one
// notification, an arrival when any device was added.
#pragma once

#include <memory>

#include "dialogs/device_change.h"

class QSocketNotifier;
struct udev;
struct udev_monitor;

namespace kx::dialogs {

class UdevDeviceMonitor : public DeviceChangeMonitor {
 public:
  UdevDeviceMonitor();
  ~UdevDeviceMonitor() override;
  UdevDeviceMonitor(const UdevDeviceMonitor&) = delete;
  UdevDeviceMonitor& operator=(const UdevDeviceMonitor&) = delete;

  bool Start(std::shared_ptr<ui::MessageTarget> target) override;
  void Stop() override;

 private:
  void OnReadable();

  udev* udev_ = nullptr;
  udev_monitor* monitor_ = nullptr;
  std::unique_ptr<QSocketNotifier> notifier_;
  std::shared_ptr<ui::MessageTarget> target_;
};

}  // namespace kx::dialogs
