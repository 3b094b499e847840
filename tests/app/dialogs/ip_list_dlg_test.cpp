// The list of readers found on the network, offscreen against emulated Ethernet readers on the
// test's own network of namespaces.
#include <QCoreApplication>

#include "dialogs/ip_list_dlg.h"
#include "dialogs/lan_config_dlg.h"
#include "lan_dialog_fixture.h"
#include "resources/lan_dialogs_ids.h"

namespace kx::dialogs::testing {
namespace {

namespace il = res::ip_list_dialog;

class IpListDialog : public LanDialogTest {
 protected:
  void AddMixedNetwork() {
    AddReader(FixedReader("198.18.0.20"));
    AddReader(DhcpReader("198.18.0.33", "LAB01"));
    kxemu::ModuleSettings foreign = FixedReader("198.18.0.50");
    foreign.deviceName = "XPORT-AR";
    AddReader(foreign);
  }
  std::unique_ptr<CIPAddrSuche> Make() {
    return std::make_unique<CIPAddrSuche>(services, sdk, clock);
  }
  static bool Searched(CIPAddrSuche& dialog) {
    return dialog.Searches() > 0 && !dialog.Searching() && dialog.isEnabled();
  }
  // Entries with their item values.
  static std::vector<std::pair<QString, int>> Listed(CIPAddrSuche& dialog) {
    std::vector<std::pair<QString, int>> listed;
    for (int i = 0; i < dialog.ListCount(il::kList); ++i)
      listed.emplace_back(dialog.ListText(il::kList, i), dialog.ListItemValue(il::kList, i));
    return listed;
  }
};

TEST_F(IpListDialog, ConfirmedReadersAndOtherDevicesAreMergedAndOnlyAReaderIsTheResult) {
  AddMixedNetwork();
  EnterHost();
  auto dialog = Make();
  std::vector<std::pair<QString, int>> listed;
  bool changeEnabledAtFirst = true;
  bool changeEnabledOnSelection = false;
  WhenShown<CIPAddrSuche>(&IpListDialog::Searched, [&](CIPAddrSuche& shown) {
    listed = Listed(shown);
    changeEnabledAtFirst = shown.IsItemEnabled(il::kChangeAddress);
    shown.ListSetCurrent(il::kList, 2);
    shown.SendCommand(il::kList, ui::Notification::kSelChange);
    changeEnabledOnSelection = shown.IsItemEnabled(il::kChangeAddress);
    shown.SendCommand(il::kClose);
  });
  dialog->DoModal();
  EXPECT_EQ(listed, (std::vector<std::pair<QString, int>>{{"198.18.0.20-10001", 1},
                                                          {"[LAB01]198.18.0.33-10001", 1},
                                                          {"198.18.0.50-10001", 2}}));
  EXPECT_FALSE(changeEnabledAtFirst) << "nothing is selected after a search";
  EXPECT_TRUE(changeEnabledOnSelection);
  EXPECT_EQ(dialog->resultText(), "") << "a device that is no reader is not handed on";
  EXPECT_TRUE(prompts.messages().empty());

  WhenShown<CIPAddrSuche>(&IpListDialog::Searched, [&](CIPAddrSuche& shown) {
    shown.ListSetCurrent(il::kList, 1);
    shown.SendCommand(il::kClose);
  });
  dialog->DoModal();
  EXPECT_EQ(dialog->resultText(), "[LAB01]198.18.0.33-10001");
}

TEST_F(IpListDialog, TheWindowIsBusyAndRepaintedWhileTheSearchWaits) {
  AddMixedNetwork();
  EnterHost();
  auto dialog = Make();
  int ticksInSearch = 0;
  bool enabledInSearch = true;
  int searchesSeen = 0;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    if (!dialog->Searching())
      return;
    ++ticksInSearch;
    enabledInSearch = enabledInSearch && dialog->isEnabled();
    // An operator's click now must not start anything.
    dialog->ListSetCurrent(il::kList, 0);
    dialog->SendCommand(il::kChangeAddress);
    searchesSeen = dialog->Searches();
  });
  ticker.start(50);
  WhenShown<CIPAddrSuche>(&IpListDialog::Searched,
                          [](CIPAddrSuche& shown) { shown.SendCommand(il::kClose); });
  dialog->DoModal();
  EXPECT_GE(ticksInSearch, 3) << "the search lasts at least half a second and lets timers run";
  EXPECT_FALSE(enabledInSearch);
  EXPECT_EQ(searchesSeen, 1);
  EXPECT_EQ(dialog->Searches(), 1);
}

TEST_F(IpListDialog, AnEmptyNetworkOffersRetryAndCancelClosesTheDialog) {
  EnterHost();
  auto dialog = Make();
  prompts.QueueAnswer(ui::Answer::kRetry);
  prompts.QueueAnswer(ui::Answer::kCancel);
  EXPECT_EQ(dialog->DoModal(), ui::kIdCancel);
  EXPECT_EQ(dialog->Searches(), 2);
  ASSERT_EQ(prompts.messages().size(), 2u);
  for (const ui::MessageRequest& request : prompts.messages()) {
    EXPECT_EQ(request.text,
              "Keine Geräte gefunden!\nBitte prüfen Sie die Firewall-Einstellungen!\nEvtl. muss "
              "das Programm manuell in der Firewall freigegeben werden.");
    EXPECT_EQ(request.caption, "Liste aller gefundenen IP-Adressen");
    EXPECT_EQ(request.buttons, ui::Buttons::kRetryCancel);
  }
  EXPECT_EQ(dialog->resultText(), "");
}

TEST_F(IpListDialog, ARetryFindsAReaderThatCameMeanwhile) {
  auto& reader = AddReader(FixedReader("198.18.0.20"));
  reader.Module().SetFaults(Silent());
  EnterHost();
  auto dialog = Make();
  prompts.QueueAnswer(ui::Answer::kRetry);
  std::vector<std::pair<QString, int>> listed;
  // The reader wakes up while the operator reads the message.
  sdk.afterFindDevices = [&] { reader.Module().SetFaults({}); };
  WhenShown<CIPAddrSuche>(
      [&](CIPAddrSuche& shown) { return Searched(shown) && shown.ListCount(il::kList) > 0; },
      [&](CIPAddrSuche& shown) {
        listed = Listed(shown);
        shown.SendCommand(il::kClose);
      });
  dialog->DoModal();
  EXPECT_EQ(prompts.messages().size(), 1u);
  EXPECT_EQ(listed, (std::vector<std::pair<QString, int>>{{"198.18.0.20-10001", 1}}));
}

TEST_F(IpListDialog, ASuccessfulChangeSearchesAgainAfterAPause) {
  auto& reader = AddReader(FixedReader("198.18.0.20"));
  EnterHost();
  auto dialog = Make();
  std::vector<std::pair<QString, int>> before;
  std::vector<std::pair<QString, int>> after;
  WhenShown<CIPAddrSuche>(&IpListDialog::Searched, [&](CIPAddrSuche& shown) {
    before = Listed(shown);
    shown.ListSetCurrent(il::kList, 0);
    WhenShown<CLanConfig>([](CLanConfig& config) { return config.addressMode() == 1; },
                          [](CLanConfig& config) {
                            config.SetItemText(res::lan_config_dialog::kAddress, "198.18.0.21");
                            config.SendCommand(res::lan_config_dialog::kOk);
                          });
    WhenShown<CIPAddrSuche>(
        [](CIPAddrSuche& again) { return again.Searches() == 2 && Searched(again); },
        [&](CIPAddrSuche& again) {
          after = Listed(again);
          again.SendCommand(il::kClose);
        });
    shown.SendCommand(il::kChangeAddress);
  });
  dialog->DoModal();
  EXPECT_EQ(before, (std::vector<std::pair<QString, int>>{{"198.18.0.20-10001", 1}}));
  EXPECT_EQ(after, (std::vector<std::pair<QString, int>>{{"198.18.0.21-10001", 1}}));
  EXPECT_EQ(clock.pauses.back(), kSearchAfterChangeMs);
  EXPECT_EQ(kxlf::FormatIpv4(reader.Module().Settings().address), "198.18.0.21");
}

}  // namespace
}  // namespace kx::dialogs::testing
