// The interface dialog's settings: the stored name settled at construction, what the dialog
// shows at its start, OK with its validation and what it writes, the connection name, the
// English template and the layout when the window grows.
#include <QComboBox>
#include <QTest>

#include "port_dlg_fixture.h"

namespace kx::dialogs::testing {
namespace {

using PortConstruction = PortDialog;

TEST_F(PortConstruction, AnEmptyNameBecomesCom1AtOnce) {
  Make();
  EXPECT_EQ(dialog->name(), "COM1");
  EXPECT_EQ(Stored("Name"), "COM1");
  EXPECT_EQ(dialog->GetConnectionName(), "COM1:1");
  EXPECT_EQ(Stored("Baudrate"), "<absent>") << "only the name is written";
  EXPECT_EQ(sdk.listCalls, 0);
}

TEST_F(PortConstruction, AStoredUsbReaderIsCheckedAgainstTheAttachedOnes) {
  store.SetString("Port", "Name", "USB: 5391-000123 HID");
  Make();
  EXPECT_EQ(dialog->name(), "") << "no USB reader attached";
  EXPECT_EQ(Stored("Name"), "");

  sdk.usb = {"5396-000777 HID", "5391-000123 HID"};
  store.SetString("Port", "Name", "USB: 5391-000123 HID");
  Make();
  EXPECT_EQ(dialog->name(), "USB: 5391-000123 HID");

  store.SetString("Port", "Name", "USB: 5391-999999 HID");
  store.SetInt("Port", "Adresse", 3);
  Make();
  EXPECT_EQ(dialog->name(), "USB: 5396-000777 HID");
  EXPECT_EQ(Stored("Name"), "USB: 5396-000777 HID");
  EXPECT_EQ(dialog->GetConnectionName(), "5396-000777 HID:3");
}

TEST_F(PortConstruction, ALanNameIsKeptWhileEthernetIsOffOrTheReaderAnswers) {
  store.SetString("Port", "Name", "LAN: 192.168.1.20-10001");
  Make();
  EXPECT_EQ(dialog->GetConnectionName(), "192.168.1.20-10001:1");
  EXPECT_TRUE(sdk.probed.empty());

  store.SetInt("Port", "EthernetAktiv", 1);
  sdk.lanReachable = 1;
  Make();
  EXPECT_EQ(sdk.probed, std::vector<std::string>{"192.168.1.20-10001"});
  EXPECT_EQ(dialog->name(), "LAN: 192.168.1.20-10001");

  sdk.lanReachable = 0;
  sdk.lan = {"[LAB01]192.168.1.33-10001"};
  Make();
  EXPECT_EQ(dialog->name(), "LAN: [LAB01]192.168.1.33-10001");
  EXPECT_EQ(Stored("Name"), "LAN: [LAB01]192.168.1.33-10001");
}

using PortStart = PortDialog;

TEST_F(PortStart, ShowsTheStoredValuesAndSelectsTheStoredEntry) {
  sdk.com = {"/dev/ttyS0", "/dev/ttyUSB0"};
  sdk.usb = {"5391-000123 HID"};
  store.SetString("Port", "Name", "/dev/ttyUSB0");
  store.SetInt("Port", "Baudrate", 9603);
  store.SetInt("Port", "Timeout", 750);
  store.SetInt("Port", "Adresse", 12);
  Open();
  EXPECT_EQ(dialog->windowTitle(), "Schnittstelle");
  EXPECT_EQ(Entries(), (QStringList{"/dev/ttyS0", "/dev/ttyUSB0", "USB: 5391-000123 HID"}));
  EXPECT_EQ(dialog->ListCurrent(pd::kInterfaceList), 1);
  EXPECT_EQ(dialog->ItemText(pd::kBaudRate), "9600");
  EXPECT_EQ(dialog->ItemText(pd::kParity), "keine");
  EXPECT_EQ(dialog->ItemText(pd::kStopBits), "2");
  EXPECT_EQ(dialog->ItemText(pd::kTimeout), "750");
  EXPECT_EQ(dialog->ItemText(pd::kDeviceAddress), "12");
  EXPECT_EQ(dialog->IsChecked(pd::kEthernetActive), 0);
  EXPECT_FALSE(dialog->IsItemShown(pd::kIpList));
  EXPECT_TRUE(dialog->IsItemEnabled(pd::kBaudRate));
  EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(PortStart, TheStoredNameIsAPrefixIgnoringCase) {
  sdk.com = {"COM10", "COM2"};
  store.SetString("Port", "Name", "com1");
  Open();
  EXPECT_EQ(dialog->ListCurrent(pd::kInterfaceList), 0);
  EXPECT_EQ(dialog->name(), "com1") << "the selection does not rename until OK";
}

TEST_F(PortStart, TheOnlyEntryIsTakenAndNoMatchAmongSeveralEmptiesTheName) {
  sdk.com = {"/dev/ttyACM0"};
  Open();
  EXPECT_EQ(dialog->ListCurrent(pd::kInterfaceList), 0);
  EXPECT_EQ(dialog->name(), "/dev/ttyACM0");
  dialog->Destroy();

  sdk.com = {"/dev/ttyS0", "/dev/ttyS1"};
  store.SetString("Port", "Name", "LAN: [LAB01]");
  dialog.reset();
  Open();
  EXPECT_EQ(dialog->ListCurrent(pd::kInterfaceList), -1);
  EXPECT_EQ(dialog->name(), "");
  EXPECT_EQ(Stored("Name"), "LAN: [LAB01]") << "only OK writes";
}

TEST_F(PortStart, UsbAndLanEntriesHaveNoSerialParameters) {
  sdk.com = {"/dev/ttyS0"};
  sdk.usb = {"6040-55 HID"};
  store.SetString("Port", "Name", "USB: 6040-55 HID");
  Open();
  for (int combo : {pd::kBaudRate, pd::kParity, pd::kStopBits})
    EXPECT_FALSE(dialog->IsItemEnabled(combo)) << combo;
  Select(0);
  EXPECT_EQ(dialog->name(), "/dev/ttyS0");
  for (int combo : {pd::kBaudRate, pd::kParity, pd::kStopBits})
    EXPECT_TRUE(dialog->IsItemEnabled(combo)) << combo;
}

using PortOk = PortDialog;
using PortLayout = PortDialog;

TEST_F(PortOk, WritesEveryPortSettingAndTheParityWinsOverTwoStopBits) {
  sdk.com = {"/dev/ttyS0", "/dev/ttyUSB0"};
  store.SetInt("Port", "Baudrate", 9603);
  const int code = RunModal([this] {
    Select(1);
    dialog->ListSetCurrent(pd::kParity, 1);  // "gerade", stop bits stay "2"
    dialog->SetItemText(pd::kTimeout, "300000");
    dialog->SetItemText(pd::kDeviceAddress, "255");
    Click(pd::kOk);
  });
  EXPECT_EQ(code, ui::kIdOk);
  EXPECT_EQ(Stored("Name"), "/dev/ttyUSB0");
  EXPECT_EQ(Stored("Baudrate"), "9601");
  EXPECT_EQ(Stored("Timeout"), "300000");
  EXPECT_EQ(Stored("Adresse"), "255");
  EXPECT_EQ(Stored("EthernetAktiv"), "0");
  EXPECT_EQ(dialog->GetConnectionName(), "/dev/ttyUSB0:255");
}

TEST_F(PortOk, ARateThatIsNotOfferedStaysStored) {
  store.SetInt("Port", "Baudrate", 14400);
  const int code = RunModal([this] {
    EXPECT_EQ(dialog->ListCurrent(pd::kBaudRate), -1);
    Click(pd::kOk);
  });
  EXPECT_EQ(code, ui::kIdOk);
  EXPECT_EQ(Stored("Baudrate"), "14400");
  EXPECT_EQ(Stored("Timeout"), "1000");
}

TEST_F(PortOk, CancelWritesNothing) {
  sdk.com = {"/dev/ttyS0", "/dev/ttyUSB0"};
  const int code = RunModal([this] {
    Select(1);
    Click(pd::kCancel);
  });
  EXPECT_EQ(code, ui::kIdCancel);
  EXPECT_EQ(Stored("Name"), "COM1");
  EXPECT_EQ(store.size(), 1u);
}

// Each bad input shows its message, focuses its field and keeps the dialog open; the fields
// after it keep their members.
TEST_F(PortOk, InputsOutOfRangeKeepTheDialogOpen) {
  struct Case {
    const char* timeout;
    const char* address;
    QString message;
    int focused;
  };
  const Case cases[] = {
      {"9", "1", "Geben Sie eine ganze Zahl zwischen 10 und 300000 ein.", pd::kTimeout},
      {"300001", "1", "Geben Sie eine ganze Zahl zwischen 10 und 300000 ein.", pd::kTimeout},
      {"", "1", "Geben Sie eine positive ganze Zahl ein.", pd::kTimeout},
      {"10", "0", "Geben Sie eine ganze Zahl zwischen 1 und 255 ein.", pd::kDeviceAddress},
      {"10", "256", "Geben Sie eine ganze Zahl zwischen 1 und 255 ein.", pd::kDeviceAddress},
      {"10", "", "Geben Sie eine ganze Zahl ein.", pd::kDeviceAddress},
  };
  for (const Case& c : cases) {
    prompts.Clear();
    bool stayedOpen = false;
    bool fieldFocused = false;
    const int code = RunModal([&] {
      dialog->SetItemText(pd::kTimeout, c.timeout);
      dialog->CheckButton(pd::kEthernetActive, true);
      dialog->SetItemText(pd::kDeviceAddress, c.address);
      Click(pd::kOk);
      stayedOpen = dialog->isVisible();
      fieldFocused = dialog->focusWidget() == dialog->Item(c.focused);
    });
    EXPECT_TRUE(stayedOpen) << c.timeout << " " << c.address;
    EXPECT_EQ(code, ui::kIdCancel);
    EXPECT_EQ(prompts.MessageTexts(), QStringList{c.message});
    EXPECT_TRUE(fieldFocused) << c.timeout << " " << c.address;
    EXPECT_EQ(Stored("Timeout"), "<absent>");
    if (c.focused == pd::kTimeout)
      EXPECT_EQ(dialog->ethernetActive(), 0) << "fields after the timeout keep their values";
    else
      EXPECT_EQ(dialog->ethernetActive(), 1);
  }
}

TEST_F(PortLayout, TheEnglishTemplateHasTheSameControls) {
  ASSERT_TRUE(resources.UseLibrary(KX_ENGLISH_LIBRARY_FILE)) << resources.LoadError();
  Open();
  EXPECT_EQ(dialog->windowTitle(), "Interface");
  EXPECT_EQ(dialog->ItemText(pd::kEthernetActive), "Activate Ethernet");
  EXPECT_EQ(dialog->ListText(pd::kParity, 2), "odd");
  EXPECT_EQ(dialog->ItemText(pd::kCancel), "Cancel");
  EXPECT_EQ(resources.LoadString(pd::kLoadDriver), "Download and install the driver?");
  EXPECT_TRUE(resources.LoadString(pd::kDriverPage).startsWith("https://"));
}

TEST_F(PortLayout, GrowingMovesTheControlsAndTheStartSizeIsTheSmallest) {
  Open();
  const QSize start = dialog->size();
  const QRect list = dialog->ItemRect(pd::kInterfaceList);
  const QRect ok = dialog->ItemRect(pd::kOk);
  const QRect virtualCom = dialog->ItemRect(pd::kVirtualCom);
  const QRect baud = dialog->ItemRect(pd::kBaudRate);
  dialog->resize(start + QSize(100, 40));
  QTRY_COMPARE(dialog->size(), start + QSize(100, 40));
  EXPECT_EQ(dialog->ItemRect(pd::kInterfaceList), list.adjusted(0, 0, 100, 40));
  EXPECT_EQ(dialog->ItemRect(pd::kOk), ok);
  EXPECT_EQ(dialog->ItemRect(pd::kVirtualCom), virtualCom.translated(100, 40));
  EXPECT_EQ(dialog->ItemRect(pd::kBaudRate), baud.translated(0, 40));

  dialog->resize(start - QSize(50, 50));
  QTRY_COMPARE(dialog->size(), start);
  EXPECT_EQ(dialog->ItemRect(pd::kInterfaceList), list);
}

}  // namespace
}  // namespace kx::dialogs::testing
