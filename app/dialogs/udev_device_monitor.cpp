#include "dialogs/udev_device_monitor.h"

#include <libudev.h>

#include <QSocketNotifier>
#include <cstring>

#include "framework/message_target.h"

namespace kx::dialogs {

UdevDeviceMonitor::UdevDeviceMonitor() = default;

UdevDeviceMonitor::~UdevDeviceMonitor() {
  Stop();
}

bool UdevDeviceMonitor::Start(std::shared_ptr<ui::MessageTarget> target) {
  Stop();
  udev_ = udev_new();
  if (udev_ == nullptr)
    return false;
  monitor_ = udev_monitor_new_from_netlink(udev_, "udev");
  if (monitor_ == nullptr ||
      udev_monitor_filter_add_match_subsystem_devtype(monitor_, "tty", nullptr) < 0 ||
      udev_monitor_filter_add_match_subsystem_devtype(monitor_, "usb", "usb_device") < 0 ||
      udev_monitor_filter_add_match_subsystem_devtype(monitor_, "hidraw", nullptr) < 0 ||
      udev_monitor_enable_receiving(monitor_) < 0) {
    Stop();
    return false;
  }
  target_ = std::move(target);
  notifier_ =
      std::make_unique<QSocketNotifier>(udev_monitor_get_fd(monitor_), QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { OnReadable(); });
  return true;
}

void UdevDeviceMonitor::Stop() {
  notifier_.reset();
  target_.reset();
  if (monitor_ != nullptr)
    udev_monitor_unref(monitor_);
  monitor_ = nullptr;
  if (udev_ != nullptr)
    udev_unref(udev_);
  udev_ = nullptr;
}

void UdevDeviceMonitor::OnReadable() {
  // One plug brings several devices (the USB device, its port); the dialog refreshes once.
  bool any = false;
  bool added = false;
  while (udev_device* device = udev_monitor_receive_device(monitor_)) {
    const char* action = udev_device_get_action(device);
    any = true;
    added = added || (action != nullptr && std::strcmp(action, "add") == 0);
    udev_device_unref(device);
  }
  if (any && target_ != nullptr)
    target_->Post(kDeviceChangeMessage,
                  added ? device_event::kArrival : device_event::kNodesChanged);
}

}  // namespace kx::dialogs
