// The network dialogs' tests: a small network of namespaces (the host at 198.18.0.1 and every
// emulated Ethernet reader joined by a bridge), the GUI thread inside the host namespace, so
// that every search, probe and configuration of the real SDK stays on the test's network, and
// the services with scripted prompts.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "chip_dialog_fixture.h"  // readable texts in failures, the layout check
#include "dialogs/lan_sdk.h"
#include "dialogs/reader_return_wait.h"
#include "framework/resources.h"
#include "framework/sdk_wait_hooks.h"
#include "framework/services.h"
#include "framework/testing/scripted_prompts.h"
#include "lan_reader.h"
#include "netns_bench.h"
#include "resources/builtin.h"
#include "transport/lan_address.h"

namespace kx::dialogs::testing {

inline constexpr const char* kHost = "198.18.0.1";

inline kxemu::ModuleSettings FixedReader(const char* address) {
  kxemu::ModuleSettings settings;
  settings.address = *kxlf::ParseIpv4(address);
  settings.gateway = {198, 18, 0, 254};
  return settings;
}

inline kxemu::ModuleSettings DhcpReader(const char* address, const char* name) {
  kxemu::ModuleSettings settings = FixedReader(address);
  settings.dhcp = true;
  settings.dhcpName = name;
  return settings;
}

// A module that answers nothing.
inline kxemu::ModuleFaults Silent() {
  kxemu::ModuleFaults faults;
  faults.silent = true;
  return faults;
}

// The real SDK; a test may run something right after a call of its choice.
class HookedLanSdk : public KxLfLanSdk {
 public:
  int SetNetworkConfig(const char* readerName, const char* address, const char* subnetMask,
                       const char* gateway) override {
    if (beforeSet)
      beforeSet();
    ++sets;
    const int result = KxLfLanSdk::SetNetworkConfig(readerName, address, subnetMask, gateway);
    if (afterSet)
      afterSet();
    return result;
  }
  int FindLanDevices(char* buffer, int size) override {
    const int result = KxLfLanSdk::FindLanDevices(buffer, size);
    if (afterFindDevices)
      afterFindDevices();
    return result;
  }
  int ProbeLanReader(const char* name) override {
    probed.emplace_back(name);
    return KxLfLanSdk::ProbeLanReader(name);
  }
  std::function<void()> beforeSet;
  std::function<void()> afterSet;
  std::function<void()> afterFindDevices;
  int sets = 0;
  std::vector<std::string> probed;
};

// Steady time, unless the test lets each pause pass a longer stretch at once.
class TestClock : public WaitClock {
 public:
  int64_t NowMs() override { return real_.NowMs() + skipped_; }
  void Pause(int ms) override {
    pauses.push_back(ms);
    if (onPause)
      onPause();
    if (skipPerPause > 0) {
      skipped_ += skipPerPause;
      return;
    }
    real_.Pause(ms);
  }
  int skipPerPause = 0;
  std::function<void()> onPause;
  std::vector<int> pauses;

 private:
  EventLoopClock real_;
  int64_t skipped_ = 0;
};

class LanDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const kxtest::NetnsBench::BridgedHost bridged =
        bench_.AddBridgedHost(std::string(kHost) + "/24");
    host_ = bridged.host;
    if (host_.empty())
      GTEST_SKIP() << "network namespaces cannot be created here";
    network_ = bridged.network;
    ASSERT_FALSE(network_.empty());
    ui::RegisterSdkWaitHooks();
  }
  void TearDown() override {
    for (QTimer* poll : polls_) {
      if (poll->isActive())
        ADD_FAILURE() << "a dialog the test waited for did not show";
      delete poll;
    }
    polls_.clear();
    ui::UnregisterSdkWaitHooks();
    inHost_.reset();
    readers_.clear();
  }
  kxlf::testing::LanReader& AddReader(const kxemu::ModuleSettings& settings) {
    const std::string ns = bench_.AddNamespace();
    const std::string interface =
        bench_.LinkToBridge(ns, kxlf::FormatIpv4(settings.address) + "/24", network_);
    EXPECT_FALSE(interface.empty());
    readers_.push_back(std::make_unique<kxlf::testing::LanReader>(bench_, ns, interface, settings));
    return *readers_.back();
  }
  // From here on the GUI thread is the host: everything the SDK opens lives there.
  void EnterHost() {
    inHost_ = std::make_unique<kxtest::ScopedNetns>(host_);
    ASSERT_TRUE(inHost_->Entered());
    ASSERT_TRUE(kxtest::OutsideMachineNamespace());
  }

  // Runs `act` once on the first shown window of type D that `ready` accepts, from the event
  // loop of whatever modal run is going on; the test fails if none has shown by its end. A
  // window of that type that is never ready is cancelled after a minute, so that no modal run
  // waits for ever.
  template <typename D>
  void WhenShown(std::function<bool(D&)> ready, std::function<void(D&)> act) {
    auto* poll = new QTimer;
    polls_.push_back(poll);
    auto ticks = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, ready, act, ticks] {
      const bool late = ++*ticks > 3000;
      for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<D*>(window);
        if (dialog == nullptr || !dialog->isVisible())
          continue;
        if (ready(*dialog)) {
          poll->stop();
          act(*dialog);
          return;
        }
        if (late) {
          ADD_FAILURE() << "the dialog never got ready";
          dialog->EndDialog(ui::kIdCancel);
        }
      }
    });
    poll->start(20);
  }

  ui::testing::ScriptedPrompts prompts;
  ui::Resources resources{res::BuiltInResources()};
  ui::Services services{resources, prompts};
  HookedLanSdk sdk;
  TestClock clock;

  kxtest::NetnsBench bench_;
  std::string host_;
  std::string network_;
  std::vector<std::unique_ptr<kxlf::testing::LanReader>> readers_;
  std::unique_ptr<kxtest::ScopedNetns> inHost_;
  std::vector<QTimer*> polls_;
};

}  // namespace kx::dialogs::testing
