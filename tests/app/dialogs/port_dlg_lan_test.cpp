// The interface dialog's LAN readers against the real SDK and emulated Ethernet readers on the
// test's own network of namespaces: the stored LAN reader at construction and at start, the
// "IP ?" list, "Ethernet aktivieren" bringing and taking the LAN entries, and the connection to
// the reader chosen.
#include <QCoreApplication>
#include <cstring>

#include "dialogs/ip_list_dlg.h"
#include "dialogs/port_dlg.h"
#include "dialogs/port_entries.h"
#include "flows/connect.h"
#include "kxlf.h"
#include "lan_dialog_fixture.h"
#include "memory_settings_store.h"
#include "resources/lan_dialogs_ids.h"
#include "resources/port_dialog_ids.h"

namespace kx::dialogs::testing {
namespace {

namespace pd = res::port_dialog;
namespace il = res::ip_list_dialog;

// Two fixed serial ports and no USB reader; the LAN calls go to the SDK.
class LanPortSdk : public KxLfPortSdk {
 public:
  int ListComPorts(char* buffer, int size) override {
    static const char kPorts[] = "/dev/ttyS0\0/dev/ttyS1\0";
    if (size < static_cast<int>(sizeof kPorts))
      return 0;
    std::memcpy(buffer, kPorts, sizeof kPorts);
    return sizeof kPorts;
  }
  int ListUsbReaders(char* buffer, int size) override {
    if (size < 1)
      return 0;
    buffer[0] = '\0';
    return 1;
  }
  int CheckUsbDrivers() override { return 0; }
  int ProbeLanReader(const char* name) override {
    probed.emplace_back(name);
    return KxLfPortSdk::ProbeLanReader(name);
  }
  std::vector<std::string> probed;
};

class PortDialogLan : public LanDialogTest {
 protected:
  void SetUp() override {
    LanDialogTest::SetUp();
    if (IsSkipped())
      return;
    AddReader(FixedReader("198.18.0.20"));
    AddReader(DhcpReader("198.18.0.33", "LAB01"));
    EnterHost();
  }
  void TearDown() override {
    if (dialog != nullptr && dialog->HasWindow())
      dialog->Destroy();
    dialog.reset();
    LanDialogTest::TearDown();
  }
  void Store(const char* name, int ethernet) {
    store.SetString("Port", "Name", name);
    store.SetInt("Port", "EthernetAktiv", ethernet);
  }
  CPortDlg& Make() {
    dialog = std::make_unique<CPortDlg>(services, store, portSdk, nullptr);
    return *dialog;
  }
  // Builds the window and lets its first refresh run.
  CPortDlg& Open() {
    if (dialog == nullptr)
      Make();
    EXPECT_TRUE(dialog->Create());
    dialog->show();
    QCoreApplication::sendPostedEvents();
    return *dialog;
  }
  QStringList Entries() const {
    QStringList entries;
    for (int row = 0; row < dialog->ListCount(pd::kInterfaceList); ++row)
      entries.append(dialog->ListText(pd::kInterfaceList, row));
    return entries;
  }
  QString Selected() const {
    const int row = dialog->ListCurrent(pd::kInterfaceList);
    return row < 0 ? QString() : dialog->ListText(pd::kInterfaceList, row);
  }
  // "IP ?", choosing the list entry that begins with `prefix` (none for an empty one), then
  // "Schliessen"; the port dialog's refresh afterwards has run when this returns.
  void ChooseInIpList(const QString& prefix) {
    WhenShown<CIPAddrSuche>(
        [](CIPAddrSuche& list) {
          return list.Searches() > 0 && !list.Searching() && list.isEnabled();
        },
        [prefix](CIPAddrSuche& list) {
          if (!prefix.isEmpty())
            list.ListSetCurrent(il::kList, list.ListFindPrefix(il::kList, prefix));
          list.SendCommand(il::kClose);
        });
    dialog->SendCommand(pd::kIpList);
    QCoreApplication::sendPostedEvents();
  }

  LanPortSdk portSdk;
  app::MemorySettingsStore store;
  std::unique_ptr<CPortDlg> dialog;
};

TEST_F(PortDialogLan, AStoredLanReaderSurvivesEthernetOffUntilTheDialogStarts) {
  Store("LAN: [LAB01]", 0);
  Make();
  EXPECT_EQ(dialog->name(), "LAN: [LAB01]");
  EXPECT_EQ(dialog->GetConnectionName(), "[LAB01]:1");
  EXPECT_TRUE(portSdk.probed.empty()) << "no probe while Ethernet is off";
  Open();
  EXPECT_EQ(Entries(), (QStringList{"/dev/ttyS0", "/dev/ttyS1"}));
  EXPECT_EQ(dialog->name(), "") << "no entry matches, so the start drops the name";
  EXPECT_FALSE(dialog->IsItemShown(pd::kIpList));
}

TEST_F(PortDialogLan, WithEthernetOnAnAnsweringReaderStaysAndASilentOneGivesWay) {
  Store("LAN: [LAB01]", 1);
  Make();
  EXPECT_EQ(portSdk.probed, std::vector<std::string>{"[LAB01]"});
  EXPECT_EQ(dialog->name(), "LAN: [LAB01]");
  dialog.reset();

  Store("LAN: [GONE01]", 1);
  Make();
  EXPECT_EQ(dialog->name(), "LAN: 198.18.0.20-10001") << "the first reader of the search";
  EXPECT_EQ(store.GetString("Port", "Name", QString()), "LAN: 198.18.0.20-10001");
  Open();
  EXPECT_EQ(Entries(),
            (QStringList{"/dev/ttyS0", "/dev/ttyS1", "LAN: 198.18.0.20-10001", "LAN: [LAB01]"}));
  EXPECT_EQ(Selected(), "LAN: 198.18.0.20-10001");
}

TEST_F(PortDialogLan, EthernetOnAndOffBringsAndTakesTheLanReaders) {
  Store("/dev/ttyS1", 0);
  Open();
  EXPECT_EQ(Entries(), (QStringList{"/dev/ttyS0", "/dev/ttyS1"}));
  dialog->CheckButton(pd::kEthernetActive, true);
  dialog->SendCommand(pd::kEthernetActive);
  EXPECT_TRUE(dialog->IsItemShown(pd::kIpList));
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(Entries(),
            (QStringList{"/dev/ttyS0", "/dev/ttyS1", "LAN: 198.18.0.20-10001", "LAN: [LAB01]"}));
  EXPECT_EQ(Selected(), "/dev/ttyS1");
  dialog->CheckButton(pd::kEthernetActive, false);
  dialog->SendCommand(pd::kEthernetActive);
  EXPECT_FALSE(dialog->IsItemShown(pd::kIpList));
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(Entries(), (QStringList{"/dev/ttyS0", "/dev/ttyS1"}));
  EXPECT_EQ(store.GetString("Port", "EthernetAktiv", "<absent>"), "0") << "only OK writes";
}

TEST_F(PortDialogLan, TheIpListHandsOverTheChosenReaderCutAfterItsName) {
  Store("/dev/ttyS0", 1);
  Open();
  ASSERT_TRUE(dialog->IsItemShown(pd::kIpList));

  ChooseInIpList("[LAB01]");
  EXPECT_EQ(dialog->name(), "LAN: [LAB01]") << "the address after the name is cut off";
  EXPECT_EQ(Selected(), "LAN: [LAB01]");

  ChooseInIpList("198.18.0.20");
  EXPECT_EQ(dialog->name(), "LAN: 198.18.0.20-10001") << "a text without a bracket is whole";
  EXPECT_EQ(Selected(), "LAN: 198.18.0.20-10001");

  ChooseInIpList("");
  EXPECT_EQ(dialog->name(), "LAN: 198.18.0.20-10001") << "nothing chosen changes nothing";
  EXPECT_TRUE(prompts.messages().empty());

  // The main window connects to the chosen reader as to any other: by the connection name.
  const flows::ConnectResult connected =
      flows::Connect(ConnectionName("LAN: [LAB01]", 1).toStdString(), 19200, 1000);
  EXPECT_TRUE(connected.ok());
  if (connected.ok())
    KxLfClose(connected.handle);
}

}  // namespace
}  // namespace kx::dialogs::testing
