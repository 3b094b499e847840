// The interface dialog and the devices: refreshing on device changes with the refresh timer and
// the busy flag, the question for missing drivers, the mode buttons and the USB personality
// switch against an emulated reader.
#include <QCoreApplication>
#include <QTest>
#include <functional>
#include <utility>

#include "dialogs/port_entries.h"
#include "dialogs/udev_device_monitor.h"
#include "kxemu/pty_server.h"
#include "kxemu/reader_model.h"
#include "kxlf.h"
#include "link/frame_codec.h"
#include "link/reader_commands.h"
#include "port_dlg_fixture.h"

namespace kx::dialogs::testing {
namespace {

constexpr char kDriverQuestion[] =
    "Kein Orv USB Treiber für KX-P(M)52 installiert!\n"
    "Kein Orv USB Treiber für KX-P(M)71 VCOM installiert!\n"
    "Treiber laden und installieren?\n";

using PortDeviceChanges = PortDialog;

TEST_F(PortDeviceChanges, TheListFollowsTheDevicesAndKeepsTheStoredSelection) {
  sdk.com = {"/dev/ttyS0", "/dev/ttyUSB0"};
  store.SetString("Port", "Name", "/dev/ttyUSB0");
  Open();
  sdk.com = {"/dev/ttyS0", "/dev/ttyACM0 [Orv Virtual COM]", "/dev/ttyUSB0"};
  sdk.usb = {"5391-000123 HID"};
  Notify(device_event::kArrival);
  EXPECT_EQ(Entries(), (QStringList{"/dev/ttyS0", "/dev/ttyACM0 [Orv Virtual COM]", "/dev/ttyUSB0",
                                    "USB: 5391-000123 HID"}));
  EXPECT_EQ(dialog->ListCurrent(pd::kInterfaceList), 2);

  // A removal alone is no reason to enumerate; the node change that comes with it is.
  sdk.com = {"/dev/ttyS0"};
  const int calls = sdk.listCalls;
  Notify(device_event::kRemoveComplete);
  EXPECT_EQ(sdk.listCalls, calls);
  Notify(device_event::kNodesChanged);
  EXPECT_EQ(Entries(), (QStringList{"/dev/ttyS0", "USB: 5391-000123 HID"}));
  EXPECT_EQ(dialog->name(), "/dev/ttyUSB0") << "a refresh never renames";
}

TEST_F(PortDeviceChanges, AnArrivalRefreshesFiveTimesMore) {
  Open();
  EXPECT_EQ(dialog->rearmCount(), 0) << "the start's own refresh starts no timer";
  EXPECT_FALSE(dialog->IsTimerRunning(kRefreshTimerId));
  Notify(device_event::kArrival);
  EXPECT_EQ(dialog->rearmCount(), 1);
  EXPECT_TRUE(dialog->IsTimerRunning(kRefreshTimerId));

  // The timer's own tick posts a refresh.
  const int calls = sdk.listCalls;
  QTRY_VERIFY_WITH_TIMEOUT(sdk.listCalls > calls, 3000);
  EXPECT_EQ(dialog->rearmCount(), 2);
  EXPECT_TRUE(dialog->IsTimerRunning(kRefreshTimerId));

  // What the following ticks post.
  for (int count : {3, 4, 5}) {
    Notify(device_event::kConfigChanged);
    EXPECT_EQ(dialog->rearmCount(), count);
  }
  Notify(device_event::kConfigChanged);
  EXPECT_EQ(dialog->rearmCount(), 0);
  dialog->KillTimer(kRefreshTimerId);
  Notify(device_event::kConfigChanged);
  EXPECT_FALSE(dialog->IsTimerRunning(kRefreshTimerId));
}

TEST_F(PortDeviceChanges, AMissingDriverIsAskedForWithEveryNotification) {
  sdk.missingDrivers = 3;
  Open();
  EXPECT_EQ(prompts.MessageTexts(), QStringList{kDriverQuestion}) << "the start's refresh";
  EXPECT_EQ(prompts.messages()[0].buttons, ui::Buttons::kYesNo);
  EXPECT_EQ(prompts.messages()[0].icon, ui::Icon::kQuestion);
  EXPECT_TRUE(prompts.opened().isEmpty()) << "No opens nothing";

  // Asked again for a removal too, and the lists are read twice: the driver may be there now.
  sdk.missingDrivers = 2;
  const int calls = sdk.listCalls;
  prompts.QueueAnswer(ui::Answer::kYes);
  Notify(device_event::kNodesChanged);
  EXPECT_EQ(sdk.listCalls - calls, 4) << "USB and COM, twice";
  EXPECT_EQ(prompts.MessageTexts().last(),
            "Kein Orv USB Treiber für KX-P(M)71 VCOM installiert!\n"
            "Treiber laden und installieren?\n");
  EXPECT_EQ(prompts.opened(), QStringList{resources.LoadString(pd::kDriverPage)});
  Notify(device_event::kRemoveComplete);
  EXPECT_EQ(prompts.messages().size(), 3u);
}

TEST_F(PortDeviceChanges, EthernetBringsTheLanReadersAndTheIpButton) {
  sdk.com = {"/dev/ttyS0"};
  sdk.lan = {"192.168.1.20-10001"};
  Open();
  EXPECT_EQ(Entries(), QStringList{"/dev/ttyS0"}) << "no LAN search while Ethernet is off";
  Click(pd::kEthernetActive);
  EXPECT_TRUE(dialog->IsItemShown(pd::kIpList));
  ProcessPosted();
  EXPECT_EQ(Entries(), (QStringList{"/dev/ttyS0", "LAN: 192.168.1.20-10001"}));
  Click(pd::kEthernetActive);
  ProcessPosted();
  EXPECT_FALSE(dialog->IsItemShown(pd::kIpList));
  EXPECT_EQ(Entries(), QStringList{"/dev/ttyS0"});
  EXPECT_EQ(Stored("EthernetAktiv"), "<absent>") << "only OK writes";
}

// A prompt that lets the window's queue run while it is open, as a real message box does.
class PumpingPrompts : public ui::testing::ScriptedPrompts {
 public:
  ui::Answer ShowMessage(QWidget* parent, const ui::MessageRequest& request) override {
    // Runs once; taken out first, so that the hook may not outlive its own call.
    if (whileOpen) {
      const std::function<void()> hook = std::exchange(whileOpen, nullptr);
      hook();
    }
    return ScriptedPrompts::ShowMessage(parent, request);
  }
  std::function<void()> whileOpen;
};

TEST_F(PortDeviceChanges, NotificationsWhileOneIsHandledAreLost) {
  PumpingPrompts pumping;
  ui::Services pumpingServices{resources, pumping};
  sdk.missingDrivers = 1;
  dialog = std::make_unique<CPortDlg>(pumpingServices, store, sdk,
                                      std::make_unique<FakeMonitor>(watcherTarget));
  int checksInside = -1;
  pumping.whileOpen = [&] {
    EXPECT_TRUE(CPortDlg::DeviceChangeBusy());
    const int checks = sdk.driverChecks;
    watcherTarget->Post(kDeviceChangeMessage, device_event::kArrival);
    QCoreApplication::sendPostedEvents();
    checksInside = sdk.driverChecks - checks;
  };
  Open();
  EXPECT_EQ(checksInside, 0);
  EXPECT_FALSE(CPortDlg::DeviceChangeBusy());
  EXPECT_EQ(pumping.messages().size(), 1u);
  EXPECT_EQ(dialog->rearmCount(), 0) << "the lost arrival started no timer";
}

using PortModeButtons = PortDialog;

TEST_F(PortModeButtons, FollowTheSelectedEntry) {
  sdk.com = {"/dev/ttyS0", "/dev/ttyACM0 [Orv Virtual COM]"};
  sdk.usb = {"5391-000123 HID", "4841-000001"};
  Open();
  struct Case {
    int row;
    bool enabled;
    int hid;
    int virtualCom;
  };
  for (const Case& c :
       {Case{0, false, 0, 0}, Case{1, true, 0, 1}, Case{2, true, 1, 0}, Case{3, false, 0, 0}}) {
    Select(c.row);
    EXPECT_EQ(dialog->IsItemEnabled(pd::kHidMode), c.enabled) << c.row;
    EXPECT_EQ(dialog->IsItemEnabled(pd::kVirtualCom), c.enabled) << c.row;
    EXPECT_EQ(dialog->IsChecked(pd::kHidMode), c.hid) << c.row;
    EXPECT_EQ(dialog->IsChecked(pd::kVirtualCom), c.virtualCom) << c.row;
  }
  Select(-1);
  EXPECT_FALSE(dialog->IsItemEnabled(pd::kHidMode));
  EXPECT_EQ(dialog->name(), "USB: 4841-000001") << "no selection keeps the name";
}

TEST_F(PortModeButtons, VirtualComWithoutItsDriverOnlyAsks) {
  sdk.usb = {"5391-000123 HID"};
  sdk.vcomDriver = 0;
  Open();
  prompts.QueueAnswer(ui::Answer::kYes);
  Click(pd::kVirtualCom);
  EXPECT_TRUE(sdk.opened.empty());
  EXPECT_EQ(prompts.MessageTexts(), QStringList{"Kein Orv USB Treiber für KX-P(M)71 VCOM "
                                                "installiert!\nTreiber laden und installieren?\n"});
  EXPECT_EQ(prompts.opened().size(), 1);
  EXPECT_EQ(dialog->IsChecked(pd::kHidMode), 1);
  EXPECT_EQ(dialog->IsChecked(pd::kVirtualCom), 0);
}

TEST_F(PortModeButtons, AFailedOpenLeavesEverythingAsItWas) {
  sdk.usb = {"5391-000123 HID"};
  sdk.refuseOpen = true;
  Open();
  Click(pd::kVirtualCom);
  EXPECT_EQ(sdk.opened, std::vector<std::string>{"5391-000123 HID"});
  EXPECT_EQ(dialog->name(), "USB: 5391-000123 HID");
  EXPECT_EQ(dialog->IsChecked(pd::kHidMode), 1);
  EXPECT_TRUE(prompts.messages().empty());
}

// The reader commands as the emulated reader received them: code and parameters.
std::vector<std::vector<uint8_t>> Commands(const kxemu::ReaderModel& model) {
  std::vector<std::vector<uint8_t>> commands;
  for (const auto& frame : model.ReceivedRequests()) {
    for (auto mode : {kxlf::FrameMode::kXor, kxlf::FrameMode::kCrc16}) {
      const kxlf::DecodedFrame decoded = kxlf::DecodeFrame(mode, frame);
      if (decoded.check == kxlf::FrameCheck::kOk) {
        std::vector<uint8_t> command{decoded.code};
        command.insert(command.end(), decoded.data.begin(), decoded.data.end());
        commands.push_back(command);
        break;
      }
    }
  }
  return commands;
}

TEST_F(PortModeButtons, HidModeSwitchesAVirtualComReader) {
  kxemu::ReaderModel model{kxemu::ReaderConfig{}};
  kxemu::PtyServer server(model);
  std::string error;
  ASSERT_TRUE(server.Start({}, &error)) << error;
  const std::string entry = server.DevicePath() + " [Orv Virtual COM]";
  sdk.com = {entry};
  Open();
  ASSERT_EQ(dialog->IsChecked(pd::kVirtualCom), 1);
  Click(pd::kHidMode);

  EXPECT_EQ(sdk.opened, std::vector<std::string>{entry}) << "the whole entry, no address";
  const auto commands = Commands(model);
  const std::vector<uint8_t> toHid{kxlf::kUsbInterfaceCommand, 1};
  const std::vector<uint8_t> f6{kxlf::kCommandF6, 0, 0};
  const auto switched = std::find(commands.begin(), commands.end(), toHid);
  ASSERT_NE(switched, commands.end());
  ASSERT_NE(switched + 1, commands.end());
  EXPECT_EQ(*(switched + 1), f6);
  EXPECT_EQ(dialog->name(), "");
  EXPECT_FALSE(dialog->IsItemEnabled(pd::kHidMode));
  EXPECT_EQ(dialog->IsChecked(pd::kVirtualCom), 0);
  server.Stop();
}

}  // namespace
}  // namespace kx::dialogs::testing

namespace kx::dialogs::testing {
namespace {

TEST(PortProgramDialog, ListsThisMachinesInterfacesAndWatchesUdev) {
  UdevDeviceMonitor monitor;
  EXPECT_TRUE(monitor.Start(nullptr)) << "udev's netlink socket";
  monitor.Stop();

  ui::testing::ScriptedPrompts prompts;
  ui::Resources resources{res::BuiltInResources()};
  ui::Services services{resources, prompts};
  app::MemorySettingsStore store;
  CPortDlg dialog(services, store);
  ASSERT_TRUE(dialog.Create());
  std::vector<char> com(2500), usb(2500);
  const QStringList expected =
      EntryTexts(ParseStringList(com.data(), 2500, KxLfListComPorts(com.data(), 2500)),
                 ParseStringList(usb.data(), 2500, KxLfListUsbReaders(usb.data(), 2500)), {});
  QStringList shown;
  for (int row = 0; row < dialog.ListCount(pd::kInterfaceList); ++row)
    shown.append(dialog.ListText(pd::kInterfaceList, row));
  EXPECT_EQ(shown, expected);
  dialog.Destroy();
}

}  // namespace
}  // namespace kx::dialogs::testing
