// The interface dialog's two mode buttons end to end: an emulated reader that switches between
// virtual COM port (a pseudo-terminal) and HID device (a HID bus folder of the test build of
// hidapi), the SDK bound to that library, and the device-change refresh picking up the reader in
// its new personality. The COM list is the reader's terminal while it has one (the machine's
// own ports have no place in this test); the USB list is the SDK's.
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "kxemu/switching_reader.h"
#include "kxlf.h"
#include "port_dlg_fixture.h"

namespace kx::dialogs::testing {
namespace {

// Before anything can start the SDK: it binds hidapi once, at its start.
const bool kHidapiNamed = setenv("KXLF_HIDAPI_LIBRARY", KX_FAKE_HIDAPI_FILE, 1) == 0;

constexpr const char* kHidEntry = "USB: 5391-0007 HID";

class PortDialogHidSwitch : public PortDialog {
 protected:
  void SetUp() override {
    ASSERT_TRUE(kHidapiNamed);
    char folder[] = "/tmp/kx-dialog-hid.XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    bus_ = folder;
    setenv("KX_FAKE_HID_BUS", bus_.c_str(), 1);
    kxemu::SwitchingReaderSettings settings;
    settings.busFolder = bus_;
    settings.busKey = "reader";
    settings.hid.serial = "5391-0007";
    reader_ = std::make_unique<kxemu::SwitchingReader>(model_, settings);
    ASSERT_TRUE(reader_->Start(kxemu::UsbPersonality::kVirtualCom));
  }
  void TearDown() override {
    PortDialog::TearDown();
    reader_->Stop();
    unsetenv("KX_FAKE_HID_BUS");
    std::filesystem::remove_all(bus_);
  }

  // What the lists hold now; the terminal's entry as the SDK names a maker's virtual COM port.
  void ListReality() {
    const std::string terminal = reader_->DevicePath();
    sdk.com = terminal.empty() ? std::vector<std::string>{}
                               : std::vector<std::string>{terminal + " [Orv Virtual COM]"};
    std::vector<char> usb(2500);
    const int written = KxLfListUsbReaders(usb.data(), 2500);
    sdk.usb.clear();
    for (int at = 0; at < written - 1; at += static_cast<int>(sdk.usb.back().size()) + 1)
      sdk.usb.emplace_back(usb.data() + at);
  }
  // The reader leaves the bus and comes back: refreshes as the watcher reports the arrival,
  // until the entry is listed.
  bool RefreshUntilListed(const QString& prefix) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < deadline) {
      ListReality();
      Notify(device_event::kArrival);
      for (const QString& entry : Entries()) {
        if (entry.startsWith(prefix))
          return true;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }
  int Row(const QString& prefix) const {
    const QStringList entries = Entries();
    for (int row = 0; row < entries.size(); ++row) {
      if (entries[row].startsWith(prefix))
        return row;
    }
    return -1;
  }

  std::string bus_;
  kxemu::ReaderModel model_;
  std::unique_ptr<kxemu::SwitchingReader> reader_;
};

TEST_F(PortDialogHidSwitch, BothModeButtonsMoveTheReaderAndTheRefreshFollowsIt) {
  const QString terminal = QString::fromStdString(reader_->DevicePath());
  ListReality();
  Open();
  ASSERT_EQ(Entries(), QStringList{terminal + " [Orv Virtual COM]"});
  Select(0);
  ASSERT_EQ(dialog->IsChecked(pd::kVirtualCom), 1);

  Click(pd::kHidMode);
  EXPECT_EQ(dialog->name(), "");
  ASSERT_TRUE(RefreshUntilListed(kHidEntry)) << Entries().join("|").toStdString();
  EXPECT_EQ(Row(terminal), -1) << "the terminal went with the switch";
  Select(Row(kHidEntry));
  EXPECT_EQ(dialog->IsChecked(pd::kHidMode), 1);
  EXPECT_EQ(dialog->IsChecked(pd::kVirtualCom), 0);

  Click(pd::kVirtualCom);
  EXPECT_EQ(sdk.opened.back(), "5391-0007 HID") << "the name less its USB: prefix";
  EXPECT_EQ(dialog->name(), "");
  ASSERT_TRUE(RefreshUntilListed("/dev/pts/")) << Entries().join("|").toStdString();
  EXPECT_EQ(Row(kHidEntry), -1);
  Select(Row("/dev/pts/"));
  EXPECT_EQ(dialog->IsChecked(pd::kVirtualCom), 1);
  EXPECT_EQ(reader_->Current(), kxemu::UsbPersonality::kVirtualCom);
}

}  // namespace
}  // namespace kx::dialogs::testing
