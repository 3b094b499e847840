// The interface dialog over devices that the test lists, scripted prompts, an in-memory settings
// store and a device watcher whose notifications the test sends.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/device_change.h"
#include "dialogs/port_dlg.h"
#include "dialogs/port_sdk.h"
#include "framework/message_target.h"
#include "framework/resources.h"
#include "framework/services.h"
#include "framework/testing/scripted_prompts.h"
#include "memory_settings_store.h"
#include "resources/builtin.h"
#include "resources/port_dialog_ids.h"

namespace kx::dialogs::testing {

namespace pd = res::port_dialog;

// Lists what the test puts in; opening and the reader commands go to the SDK, unless refused.
class FakePortSdk : public KxLfPortSdk {
 public:
  int ListComPorts(char* buffer, int size) override;
  int ListUsbReaders(char* buffer, int size) override;
  int FindLanReaders(char* buffer, int size) override;
  int ProbeLanReader(const char* name) override;
  int CheckUsbDrivers() override;
  int IsVcomDriverInstalled() override { return vcomDriver; }
  int Open(const char* portName, int baudRate, int options, int timeoutMs) override;

  std::vector<std::string> com;
  std::vector<std::string> usb;
  std::vector<std::string> lan;
  int lanReachable = 0;
  int missingDrivers = 0;
  int vcomDriver = 1;
  bool refuseOpen = false;

  int listCalls = 0;  // of every kind
  int driverChecks = 0;
  std::vector<std::string> probed;
  std::vector<std::string> opened;
};

// Hands the test the target that the dialog gave it.
class FakeMonitor : public DeviceChangeMonitor {
 public:
  explicit FakeMonitor(std::shared_ptr<ui::MessageTarget>& target) : target_(target) {}
  bool Start(std::shared_ptr<ui::MessageTarget> target) override {
    target_ = std::move(target);
    return true;
  }
  void Stop() override { target_.reset(); }

 private:
  std::shared_ptr<ui::MessageTarget>& target_;
};

class PortDialog : public ::testing::Test {
 protected:
  void TearDown() override;

  // Constructs the dialog from the store.
  CPortDlg& Make();
  // Constructs it if needed, builds its window, shows it and lets its first refresh run.
  CPortDlg& Open();
  // Runs the dialog modally; act runs once it shows, and the dialog is cancelled afterwards if
  // act left it open.
  int RunModal(std::function<void()> act);
  void Click(int id);
  void Select(int row);
  // As the watcher would report a device change; the dialog handles it before this returns.
  void Notify(intptr_t event);
  void ProcessPosted();
  QStringList Entries() const;
  QString Stored(const char* key) const;

  FakePortSdk sdk;
  ui::testing::ScriptedPrompts prompts;
  ui::Resources resources{res::BuiltInResources()};
  ui::Services services{resources, prompts};
  app::MemorySettingsStore store;
  std::shared_ptr<ui::MessageTarget> watcherTarget;
  std::unique_ptr<CPortDlg> dialog;
};

}  // namespace kx::dialogs::testing
