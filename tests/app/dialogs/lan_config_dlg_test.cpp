// A reader's network settings, offscreen against emulated Ethernet readers on the test's own
// network of namespaces: loading, the checks on OK, the write and the wait for the reader.
#include "dialogs/lan_config_dlg.h"
#include "dialogs/ip_list_dlg.h"
#include "framework/progress_bar.h"
#include "lan_dialog_fixture.h"
#include "resources/lan_dialogs_ids.h"

namespace kx::dialogs::testing {
namespace {

namespace lc = res::lan_config_dialog;

class LanConfigDialog : public LanDialogTest {
 protected:
  void TearDown() override {
    if (dialog_ != nullptr && dialog_->HasWindow())
      dialog_->Destroy();
    dialog_.reset();
    LanDialogTest::TearDown();
  }
  CLanConfig& Open(const QString& readerName) {
    dialog_ = std::make_unique<CLanConfig>(services, sdk, readerName, clock);
    EXPECT_TRUE(dialog_->Create());
    dialog_->show();
    return *dialog_;
  }
  // Runs the dialog modally; `act` runs once it shows and it is cancelled afterwards if `act`
  // left it open.
  int RunModal(const QString& readerName, std::function<void(CLanConfig&)> act) {
    dialog_ = std::make_unique<CLanConfig>(services, sdk, readerName, clock);
    WhenShown<CLanConfig>([](CLanConfig&) { return true; },
                          [act](CLanConfig& shown) {
                            act(shown);
                            if (shown.isVisible())
                              shown.EndDialog(ui::kIdCancel);
                          });
    return dialog_->DoModal();
  }
  // What the module got from the SDK since the last look.
  static size_t Received(kxlf::testing::LanReader& reader) {
    const size_t count = reader.Module().Captured().size();
    reader.Module().ClearCaptured();
    return count;
  }
  // OK with values that the dialog must refuse: the message shown, nothing sent, still open.
  void ExpectRefused(kxlf::testing::LanReader& reader, const QString& message) {
    prompts.Clear();
    Received(reader);
    dialog_->SendCommand(lc::kOk);
    EXPECT_EQ(prompts.MessageTexts(), QStringList{message});
    EXPECT_EQ(sdk.sets, 0);
    EXPECT_EQ(Received(reader), 0u);
    EXPECT_TRUE(dialog_->isVisible());
  }

  std::unique_ptr<CLanConfig> dialog_;
};

TEST_F(LanConfigDialog, ADhcpReaderShowsItsNameAndPortWithTheDhcpFieldsOpen) {
  kxemu::ModuleSettings settings = DhcpReader("198.18.0.33", "LAB01");
  settings.port = 10002;
  AddReader(settings);
  EnterHost();
  CLanConfig& dialog = Open("[LAB01]198.18.0.33-10002");
  EXPECT_EQ(dialog.RadioIndex(lc::kDhcpMode), 0);
  EXPECT_EQ(dialog.ItemText(lc::kDhcpName), "LAB01");
  EXPECT_EQ(dialog.ItemText(lc::kDhcpPort), "10002");
  EXPECT_EQ(dialog.ItemText(lc::kAddress), "");
  EXPECT_EQ(dialog.ItemText(lc::kSubnetMask), "255.255.255.0");
  EXPECT_EQ(dialog.ItemText(lc::kGateway), "198.18.0.254");
  EXPECT_TRUE(dialog.IsItemEnabled(lc::kDhcpName));
  EXPECT_TRUE(dialog.IsItemEnabled(lc::kDhcpPort));
  EXPECT_FALSE(dialog.IsItemEnabled(lc::kAddress));
  EXPECT_FALSE(dialog.IsItemEnabled(lc::kAddressPort));
  EXPECT_FALSE(dialog.IsItemShown(lc::kProgress));

  // Choosing the other mode takes the values over and opens the other fields.
  dialog.SetRadioIndex(lc::kDhcpMode, 1);
  dialog.SendCommand(lc::kFixedMode);
  EXPECT_EQ(dialog.addressMode(), 1);
  EXPECT_FALSE(dialog.IsItemEnabled(lc::kDhcpName));
  EXPECT_TRUE(dialog.IsItemEnabled(lc::kAddress));
  EXPECT_TRUE(dialog.IsItemEnabled(lc::kSubnetMask));
  EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(LanConfigDialog, AFixedReaderShowsItsAddressPortAndDhcpName) {
  kxemu::ModuleSettings settings = FixedReader("198.18.0.20");
  settings.dhcpName = "LAB02";
  settings.hostBits = 16;
  AddReader(settings);
  EnterHost();
  CLanConfig& dialog = Open("198.18.0.20-10001");
  EXPECT_EQ(dialog.RadioIndex(lc::kDhcpMode), 1);
  EXPECT_EQ(dialog.ItemText(lc::kAddress), "198.18.0.20");
  EXPECT_EQ(dialog.ItemText(lc::kAddressPort), "10001");
  EXPECT_EQ(dialog.ItemText(lc::kDhcpName), "LAB02");
  EXPECT_EQ(dialog.ItemText(lc::kSubnetMask), "255.255.0.0");
  EXPECT_FALSE(dialog.IsItemEnabled(lc::kDhcpName));
  EXPECT_TRUE(dialog.IsItemEnabled(lc::kAddress));
}

TEST_F(LanConfigDialog, AReaderThatCannotBeReadLeavesEmptyControlsWithoutAMessage) {
  AddReader(FixedReader("198.18.0.20"));
  EnterHost();
  CLanConfig& dialog = Open("198.18.0.99-10001");
  EXPECT_EQ(dialog.RadioIndex(lc::kDhcpMode), -1);
  for (int id : {lc::kDhcpName, lc::kDhcpPort, lc::kAddress, lc::kAddressPort, lc::kSubnetMask,
                 lc::kGateway})
    EXPECT_EQ(dialog.ItemText(id), "") << id;
  EXPECT_TRUE(prompts.messages().empty());
  // OK without a mode takes the fixed address's fields and writes nothing without an address.
  dialog.SendCommand(lc::kOk);
  dialog.SetItemText(lc::kAddressPort, "10001");
  dialog.SendCommand(lc::kOk);
  EXPECT_EQ(prompts.MessageTexts(),
            (QStringList{"Geben Sie eine ganze Zahl ein.", "Gültige IP Adresse eingeben!"}));
  EXPECT_EQ(sdk.sets, 0);
}

TEST_F(LanConfigDialog, DhcpModeWritesTheNameInBracketsAndWaitsForTheReaderUnderIt) {
  auto& reader = AddReader(FixedReader("198.18.0.20"));
  EnterHost();
  bool busyWhileWaiting = false;
  const int code = RunModal("198.18.0.20-10001", [&](CLanConfig& dialog) {
    dialog.SetRadioIndex(lc::kDhcpMode, 0);
    dialog.SendCommand(lc::kDhcpMode);
    dialog.SetItemText(lc::kDhcpName, "LAB01");
    dialog.SetItemText(lc::kDhcpPort, "10001");
    sdk.afterSet = [&] {
      busyWhileWaiting = !dialog.isEnabled() && dialog.IsItemShown(lc::kProgress) &&
                         !dialog.IsItemShown(lc::kOk) && !dialog.IsItemShown(lc::kCancel) &&
                         dialog.ItemAs<ui::ProgressBar>(lc::kProgress)->maximum() == 25000;
    };
    dialog.SendCommand(lc::kOk);
  });
  EXPECT_EQ(code, ui::kIdOk);
  EXPECT_TRUE(prompts.messages().empty()) << prompts.MessageTexts().join('|').toStdString();
  EXPECT_EQ(sdk.sets, 1);
  EXPECT_TRUE(busyWhileWaiting);
  EXPECT_EQ(dialog_->readerName(), "[LAB01]-10001");
  ASSERT_FALSE(sdk.probed.empty());
  EXPECT_EQ(sdk.probed.back(), "[LAB01]-10001");
  EXPECT_TRUE(dialog_->readerReturned());
  const kxemu::ModuleSettings now = reader.Module().Settings();
  EXPECT_TRUE(now.dhcp);
  EXPECT_EQ(now.dhcpName, "LAB01");
}

TEST_F(LanConfigDialog, OkRefusesWhatCannotBeWritten) {
  auto& reader = AddReader(FixedReader("198.18.0.20"));
  EnterHost();
  CLanConfig& dialog = Open("198.18.0.20-10001");

  dialog.SetItemText(lc::kAddress, "");
  ExpectRefused(reader, "Gültige IP Adresse eingeben!");
  dialog.SetItemText(lc::kAddress, "0.0.0.0");
  ExpectRefused(reader, "Gültige IP Adresse eingeben!");

  dialog.SetItemText(lc::kAddress, "198.18.0.20");
  dialog.SetItemText(lc::kAddressPort, "");
  ExpectRefused(reader, "Geben Sie eine ganze Zahl ein.");
  dialog.SetItemText(lc::kAddressPort, "65536");
  ExpectRefused(reader, "Geben Sie eine ganze Zahl zwischen 0 und 65535 ein.");

  dialog.SetRadioIndex(lc::kDhcpMode, 0);
  dialog.SendCommand(lc::kDhcpMode);
  prompts.Clear();
  dialog.SetItemText(lc::kDhcpName, "ABCDEFGHIJKLMNOP");
  dialog.SetItemText(lc::kDhcpPort, "10001");
  ExpectRefused(reader, "Geben Sie höchstens 15 Zeichen ein.");
  dialog.SetItemText(lc::kDhcpName, "LAB01");
  dialog.SetItemText(lc::kDhcpPort, "-1");
  ExpectRefused(reader, "Geben Sie eine ganze Zahl zwischen 0 und 65535 ein.");
}

TEST_F(LanConfigDialog, AFailedWriteIsReportedAndTheSettingsAreReadAgain) {
  auto& reader = AddReader(FixedReader("198.18.0.20"));
  EnterHost();
  CLanConfig& dialog = Open("198.18.0.20-10001");
  dialog.SetItemText(lc::kAddress, "198.18.0.21");
  sdk.beforeSet = [&] { reader.Module().SetFaults(Silent()); };
  sdk.afterSet = [&] { reader.Module().SetFaults({}); };
  dialog.SendCommand(lc::kOk);
  EXPECT_EQ(prompts.MessageTexts(),
            QStringList{"IP-Adresse, Subnetzmaske oder Gateway konnte nicht gesetzt werden!"});
  EXPECT_TRUE(dialog.HasWindow());
  EXPECT_EQ(dialog.ItemText(lc::kAddress), "198.18.0.20") << "read again from the reader";
  EXPECT_EQ(dialog.readerName(), "198.18.0.20-10001");
  EXPECT_TRUE(dialog.isEnabled());
  EXPECT_TRUE(dialog.IsItemShown(lc::kOk));
  EXPECT_TRUE(dialog.IsItemShown(lc::kCancel));
  EXPECT_FALSE(dialog.IsItemShown(lc::kProgress));
}

TEST_F(LanConfigDialog, AReaderThatDoesNotComeBackStillEndsTheDialogWithOk) {
  auto& reader = AddReader(FixedReader("198.18.0.20"));
  EnterHost();
  std::vector<int> shown;
  const int code = RunModal("198.18.0.20-10001", [&](CLanConfig& dialog) {
    dialog.SetItemText(lc::kAddress, "198.18.0.21");
    // The reader takes its new address and falls silent; each pause lets 5 s pass.
    sdk.afterSet = [&] { reader.Module().SetFaults(Silent()); };
    clock.skipPerPause = 5000;
    clock.onPause = [&] { shown.push_back(dialog.ItemAs<ui::ProgressBar>(lc::kProgress)->Pos()); };
    dialog.SendCommand(lc::kOk);
  });
  EXPECT_EQ(code, ui::kIdOk) << "closed with OK all the same";
  EXPECT_TRUE(prompts.messages().empty());
  EXPECT_FALSE(dialog_->readerReturned());
  EXPECT_EQ(dialog_->readerName(), "198.18.0.21-10001");
  ASSERT_EQ(shown.size(), 5u);
  EXPECT_GE(shown.back(), 20000);
  EXPECT_LT(shown.back(), 25000);
  EXPECT_EQ(sdk.probed.size(), 5u);
  for (const std::string& probed : sdk.probed)
    EXPECT_EQ(probed, "198.18.0.21-10001");
}

// Reads nothing and finds nothing: the windows' layout needs no network.
class NoReaders : public LanSdk {
 public:
  int FindLanReaders(char*, int) override { return 0; }
  int FindLanDevices(char*, int) override { return 0; }
  int ProbeLanReader(const char*) override { return 0; }
  int GetNetworkConfig(const char*, char*, char*, char*, char*) override { return -1; }
  int SetNetworkConfig(const char*, const char*, const char*, const char*) override { return -1; }
};

TEST(LanDialogTemplates, BothLanguagesHaveEveryControlInATidyLayout) {
  ui::testing::ScriptedPrompts prompts;
  ui::Resources resources{res::BuiltInResources()};
  ui::Services services{resources, prompts};
  NoReaders none;
  TestClock clock;
  for (const bool english : {false, true}) {
    if (english) {
      ASSERT_TRUE(resources.UseLibrary(KX_ENGLISH_LIBRARY_FILE)) << resources.LoadError();
    }
    CLanConfig config(services, none, "198.18.0.20-10001", clock);
    ASSERT_TRUE(config.Create());
    ExpectTidyLayout(config, *resources.FindDialog(lc::kDialog));
    EXPECT_EQ(config.windowTitle(), english ? "LAN settings" : "LAN Einstellung");
    config.Destroy();
    CIPAddrSuche list(services, none, clock);
    ASSERT_TRUE(list.Create());
    ExpectTidyLayout(list, *resources.FindDialog(res::ip_list_dialog::kDialog));
    EXPECT_EQ(list.ItemText(res::ip_list_dialog::kChangeAddress),
              english ? "Change IP address" : "IP-Adresse ändern");
    list.Destroy();
  }
}

}  // namespace
}  // namespace kx::dialogs::testing
