// The TMS37190 configuration dialog offscreen against the emulated reader: its start values, the
// byte read and written with the exact commands, the life cycle's validation, failures, a
// connection that is gone, and its template in both languages.
#include <QTest>

#include "chip_dialog_fixture.h"
#include "dialogs/hdx_plus_config_dlg.h"
#include "resources/hdx_plus_config_dialog_ids.h"

namespace kx::dialogs::testing {
namespace {

namespace hd = res::hdx_plus_config_dialog;

class HdxPlusConfigDialog : public ChipDialogTest {
 protected:
  void ConnectHdx(uint8_t byte) {
    kxemu::Transponder chip = kxemu::MakeTransponder(35);
    chip.chipConfig = byte;
    Connect(chip);
  }
  CHDXPlusConfigDlg& Open(int handle = -1) {
    dialog_ = std::make_unique<CHDXPlusConfigDlg>(services, handle < 0 ? handle_ : handle);
    EXPECT_TRUE(dialog_->Create());
    return *dialog_;
  }
  void TearDown() override {
    if (dialog_ != nullptr && dialog_->HasWindow())
      dialog_->Destroy();
    ChipDialogTest::TearDown();
  }
  void Click(int id) { QTest::mouseClick(dialog_->Item(id), Qt::LeftButton); }
  // Life cycle, Q factor index, discharge index, RFU, as the controls show them.
  QStringList Shown() const {
    return {dialog_->ItemText(hd::kLifeCycle), QString::number(dialog_->RadioIndex(hd::kLowQ)),
            QString::number(dialog_->RadioIndex(hd::kDischargeOff)), dialog_->ItemText(hd::kRfu)};
  }
  void Enter(const QString& lifeCycle, int q, int discharge, const QString& rfu) {
    dialog_->SetItemText(hd::kLifeCycle, lifeCycle);
    dialog_->SetRadioIndex(hd::kLowQ, q);
    dialog_->SetRadioIndex(hd::kDischargeOff, discharge);
    dialog_->SetItemText(hd::kRfu, rfu);
  }

  std::unique_ptr<CHDXPlusConfigDlg> dialog_;
};

TEST_F(HdxPlusConfigDialog, OpensWithZerosInBoldAndReadsNothing) {
  ConnectHdx(0xB5);
  CHDXPlusConfigDlg& dialog = Open();
  EXPECT_EQ(dialog.windowTitle(), "TMS37190 (HDX+) Config");
  EXPECT_TRUE(dialog.font().bold());
  EXPECT_EQ(Shown(), (QStringList{"0", "0", "0", "0"}));
  EXPECT_EQ(dialog.ItemText(hd::kLowQ), "LowQ");
  EXPECT_EQ(dialog.ItemText(hd::kDischargeOff), "Aus");
  EXPECT_TRUE(TakeCommands().empty());
}

TEST_F(HdxPlusConfigDialog, LesenShowsTheFieldsOfTheByte) {
  ConnectHdx(0xB5);
  Open();
  Click(hd::kRead);
  EXPECT_EQ(Shown(), (QStringList{"5", "0", "1", "5"})) << "life cycle 5, LowQ, Ein, RFU 5";
  EXPECT_EQ(TakeCommands(), (std::vector<Bytes>{{kSpecial, 35, 1}}));
  EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(HdxPlusConfigDialog, SchreibenComposesTheByte) {
  ConnectHdx(0);
  Open();
  Enter("7", 1, 0, "2");
  Click(hd::kWrite);
  EXPECT_EQ(Chip().chipConfig, 0x4F);
  Enter("0", 0, 1, "9");
  Click(hd::kWrite);
  EXPECT_EQ(Chip().chipConfig, 0x30) << "RFU 9 writes as RFU 1";
  EXPECT_EQ(TakeCommands(), (std::vector<Bytes>{{kSpecial, 35, 2, 0x4F}, {kSpecial, 35, 2, 0x30}}));
  EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(HdxPlusConfigDialog, ALifeCycleOutsideZeroToSevenIsRefusedAndNothingIsSent) {
  ConnectHdx(0x11);
  CHDXPlusConfigDlg& dialog = Open();
  for (const char* lifeCycle : {"8", "-1", "", "sieben"}) {
    prompts.Clear();
    Enter(lifeCycle, 1, 1, "0");
    Click(hd::kWrite);
    ASSERT_EQ(prompts.messages().size(), 1u) << lifeCycle;
    EXPECT_EQ(dialog.focusWidget(), dialog.Item(hd::kLifeCycle));
  }
  EXPECT_EQ(prompts.MessageTexts(), QStringList{"Geben Sie eine ganze Zahl ein."});
  prompts.Clear();
  Enter("8", 0, 0, "0");
  Click(hd::kWrite);
  EXPECT_EQ(prompts.MessageTexts(), QStringList{"Geben Sie eine ganze Zahl zwischen 0 und 7 ein."});
  EXPECT_TRUE(TakeCommands().empty());
  EXPECT_EQ(Chip().chipConfig, 0x11);
}

TEST_F(HdxPlusConfigDialog, FailuresSayWhatFailedAndKeepTheFields) {
  ConnectHdx(0xB5);
  Open();
  Enter("3", 1, 0, "4");
  model_->SetTransponder(kxemu::MakeTransponder(38));
  Click(hd::kRead);
  EXPECT_EQ(prompts.MessageTexts(), QStringList{"Config Lesen geht nicht"});
  EXPECT_EQ(Shown(), (QStringList{"3", "1", "0", "4"}));
  prompts.Clear();
  Click(hd::kWrite);
  EXPECT_EQ(prompts.MessageTexts(), QStringList{"Config Schreiben geht nicht"});

  // An empty answer holds no byte.
  model_->SetTransponder(kxemu::MakeTransponder(35));
  kxemu::Faults faults;
  faults.emptyPayloads = true;
  model_->SetFaults(faults);
  prompts.Clear();
  Click(hd::kRead);
  EXPECT_EQ(prompts.MessageTexts(), QStringList{"Config Lesen geht nicht"});
  EXPECT_EQ(Shown(), (QStringList{"3", "1", "0", "4"}));
}

TEST_F(HdxPlusConfigDialog, AConnectionThatIsGoneFailsReadAndWrite) {
  ConnectHdx(0xB5);
  const int closed = handle_;
  KxLfClose(closed);
  handle_ = 0;
  Open(closed);
  Click(hd::kRead);
  Click(hd::kWrite);
  EXPECT_EQ(prompts.MessageTexts(),
            (QStringList{"Config Lesen geht nicht", "Config Schreiben geht nicht"}));
  EXPECT_TRUE(TakeCommands().empty());
}

TEST_F(HdxPlusConfigDialog, BothLanguagesHaveEveryControlInATidyLayout) {
  ConnectHdx(0xB5);
  ExpectTidyLayout(Open(), *resources.FindDialog(hd::kDialog));
  dialog_->Destroy();
  ASSERT_TRUE(resources.UseLibrary(KX_ENGLISH_LIBRARY_FILE)) << resources.LoadError();
  CHDXPlusConfigDlg& dialog = Open();
  EXPECT_EQ(dialog.windowTitle(), "TMS37190 (HDX+) Config");
  EXPECT_TRUE(dialog.font().bold());
  EXPECT_EQ(dialog.ItemText(hd::kWrite), "Write");
  EXPECT_EQ(dialog.ItemText(hd::kDischargeOn), "On");
  ExpectTidyLayout(dialog, *resources.FindDialog(hd::kDialog));
  model_->SetTransponder(std::nullopt);
  Click(hd::kRead);
  EXPECT_EQ(prompts.MessageTexts(), QStringList{"Reading the config failed"});
}

}  // namespace
}  // namespace kx::dialogs::testing
