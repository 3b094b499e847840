// The SIC7999 tuning dialog offscreen against the emulated reader: what it shows at its start and
// for each setting, every button with the exact commands the reader received, the automatic
// tuning of a typical and an untunable chip, bad CTune texts, a connection that is gone, and its
// template in both languages.
#include <QApplication>
#include <QGuiApplication>
#include <QTest>

#include "chip_dialog_fixture.h"
#include "dialogs/tuning_dlg.h"
#include "flows/auto_tune.h"
#include "resources/tuning_dialog_ids.h"

namespace kx::dialogs::testing {
namespace {

namespace td = res::tuning_dialog;

// Records how the dialog looks whenever the tuning pauses, instead of sleeping.
class WatchingClock : public flows::TuningClock {
 public:
  void Pause(std::chrono::milliseconds) override {
    ++pauses;
    if (dialog != nullptr && dialog->isEnabled())
      enabledWhilePausing = true;
    const QCursor* cursor = QGuiApplication::overrideCursor();
    if (cursor == nullptr || cursor->shape() != Qt::WaitCursor)
      withoutWaitCursor = true;
  }
  const QWidget* dialog = nullptr;
  int pauses = 0;
  bool enabledWhilePausing = false;
  bool withoutWaitCursor = false;
};

class TuningDialog : public ChipDialogTest {
 protected:
  void ConnectSic(int ctune = 64) {
    kxemu::Transponder chip = kxemu::MakeTransponder(38);
    chip.ctune = static_cast<uint8_t>(ctune);
    Connect(chip);
  }
  // Creates the dialog's window without showing it.
  CTuningDlg& Open(int handle = -1) {
    dialog_ =
        std::make_unique<CTuningDlg>(services, handle < 0 ? handle_ : handle, nullptr, &clock_);
    clock_.dialog = dialog_.get();
    EXPECT_TRUE(dialog_->Create());
    return *dialog_;
  }
  void TearDown() override {
    if (dialog_ != nullptr && dialog_->HasWindow())
      dialog_->Destroy();
    ChipDialogTest::TearDown();
  }
  void Click(int id) { QTest::mouseClick(dialog_->Item(id), Qt::LeftButton); }
  QString Text(int id) const { return dialog_->ItemText(id); }
  QStringList Values() const {
    QStringList values;
    for (int id : {td::kTarget, td::kMinimum, td::kMaximum, td::kCtune, td::kDuration,
                   td::kFrequency, td::kDeviation})
      values << Text(id);
    return values;
  }
  static Bytes MeasureCommand(int ctune, int apply, int setting) {
    return {kSpecial,
            38,
            1,
            static_cast<uint8_t>(ctune),
            static_cast<uint8_t>(apply),
            static_cast<uint8_t>(setting),
            0};
  }

  WatchingClock clock_;
  std::unique_ptr<CTuningDlg> dialog_;
};

TEST_F(TuningDialog, OpensWithSettingOneAndEachSettingShowsItsLimits) {
  ConnectSic();
  CTuningDlg& dialog = Open();
  EXPECT_EQ(dialog.windowTitle(), "SIC7999 Tuning");
  EXPECT_EQ(dialog.RadioIndex(td::kSetting0), 1);
  EXPECT_EQ(Values(), (QStringList{"124200", "122600", "125800", "96", "", "", ""}));
  Click(td::kSetting0);
  EXPECT_EQ(Values(), (QStringList{"134600", "134400", "134800", "96", "", "", ""}));
  Click(td::kSetting1);
  EXPECT_EQ(Text(td::kTarget), "124200");
  EXPECT_TRUE(TakeCommands().empty()) << "nothing is sent for the limits";
}

TEST_F(TuningDialog, ReadShowsTheChipsCtuneOrEmptiesIt) {
  ConnectSic(77);
  Open();
  Click(td::kRead);
  EXPECT_EQ(Text(td::kCtune), "77");
  EXPECT_EQ(TakeCommands(), (std::vector<Bytes>{{kSpecial, 38, 2}}));

  // Nine bytes are enough; a record of eight has no CTune, and nothing else changes.
  kxemu::Faults faults;
  faults.payloadOverride = Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9};
  model_->SetFaults(faults);
  Click(td::kRead);
  EXPECT_EQ(Text(td::kCtune), "9");
  dialog_->SetItemText(td::kDeviation, "12");
  faults.payloadOverride = Bytes{1, 2, 3, 4, 5, 6, 7, 8};
  model_->SetFaults(faults);
  Click(td::kRead);
  EXPECT_EQ(Values(), (QStringList{"124200", "122600", "125800", "", "", "", "12"}));

  model_->SetFaults({});
  Click(td::kRead);
  EXPECT_EQ(Text(td::kCtune), "77");
  model_->SetTransponder(kxemu::MakeTransponder(35));
  Click(td::kRead);
  EXPECT_EQ(Text(td::kCtune), "") << "a transponder of another type does not answer";
}

TEST_F(TuningDialog, MessenMeasuresThePresentTuning) {
  ConnectSic(61);
  Open();
  Click(td::kSetting0);
  kxemu::Faults faults;
  faults.payloadOverride = Bytes{0x6F, 0x3B};  // 15215: 134604 Hz
  model_->SetFaults(faults);
  Click(td::kMeasure);
  EXPECT_EQ(Text(td::kDuration), "15215");
  EXPECT_EQ(Text(td::kFrequency), "134604");
  EXPECT_EQ(Text(td::kDeviation), "4");
  EXPECT_EQ(TakeCommands(), (std::vector<Bytes>{MeasureCommand(0, 0, 0)}));
  EXPECT_EQ(Chip().ctune, 61) << "the chip keeps its value";

  // A failed measurement, and one without a frequency, empty the frequency and the deviation;
  // the duration keeps its text.
  model_->SetFaults({});
  model_->SetTransponder(std::nullopt);
  Click(td::kMeasure);
  EXPECT_EQ(Values(), (QStringList{"134600", "134400", "134800", "96", "15215", "", ""}));
  EXPECT_EQ(TakeCommands().size(), 3u) << "the SDK's three attempts";

  ConnectSic(61);
  ChangeChip([](kxemu::Transponder& t) { t.measurementFaults.withoutFrequency = true; });
  dialog_->Destroy();
  Open();
  dialog_->SetItemText(td::kFrequency, "1");
  dialog_->SetItemText(td::kDeviation, "2");
  Click(td::kMeasure);
  EXPECT_EQ(Text(td::kFrequency), "");
  EXPECT_EQ(Text(td::kDeviation), "");
  EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(TuningDialog, SendAndEnterSendTheCtuneWithAMeasurement) {
  ConnectSic();
  CTuningDlg& dialog = Open();
  dialog.SetItemText(td::kCtune, "70");
  Click(td::kSend);
  EXPECT_EQ(TakeCommands(), (std::vector<Bytes>{MeasureCommand(70, 1, 1)}));
  EXPECT_EQ(Chip().ctune, 70);
  EXPECT_FALSE(Text(td::kFrequency).isEmpty());
  const int frequency = Text(td::kFrequency).toInt();
  EXPECT_EQ(Text(td::kDeviation).toInt(), frequency - 124200);
  EXPECT_EQ(Text(td::kDuration).toInt(), 2048000000 / frequency);

  bool stayedOpen = false;
  const int code = RunModal(dialog, [&] {
    dialog.SetItemText(td::kCtune, " 5");
    QTest::keyClick(&dialog, Qt::Key_Return);
    stayedOpen = dialog.isVisible();
  });
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(code, ui::kIdCancel);
  EXPECT_EQ(TakeCommands(), (std::vector<Bytes>{MeasureCommand(5, 1, 1)}));
}

TEST_F(TuningDialog, CtuneTextsThatAreNoByteAreRefusedAndNothingIsSent) {
  ConnectSic();
  CTuningDlg& dialog = Open();
  for (const char* text : {"", "abc", "256", "-1", "1e2", "99999999999"}) {
    prompts.Clear();
    dialog.SetItemText(td::kCtune, text);
    Click(td::kSend);
    EXPECT_EQ(prompts.MessageTexts(),
              QStringList{"Geben Sie eine ganze Zahl zwischen 0 und 255 ein."})
        << text;
    EXPECT_EQ(Text(td::kFrequency), "");
  }
  EXPECT_TRUE(TakeCommands().empty());
  dialog.SetItemText(td::kCtune, "255");
  Click(td::kSend);
  EXPECT_EQ(TakeCommands(), (std::vector<Bytes>{MeasureCommand(255, 1, 1)}));
}

TEST_F(TuningDialog, TestSweepsWithTheSettingLastTakenOverAndShowsNothing) {
  ConnectSic();
  CTuningDlg& dialog = Open();
  dialog.SetItemText(td::kCtune, "12");
  // Chosen without a click: not taken over yet.
  dialog.SetRadioIndex(td::kSetting0, 0);
  const QStringList before = Values();
  Click(td::kTest);
  EXPECT_EQ(Values(), before);
  std::vector<Bytes> expected;
  for (int ctune = 32; ctune <= 96; ++ctune)
    expected.push_back(MeasureCommand(ctune, 1, 1));
  EXPECT_EQ(TakeCommands(), expected);

  Click(td::kSetting0);
  model_->SetTransponder(std::nullopt);
  Click(td::kTest);
  EXPECT_EQ(TakeCommands().size(), 65u * 3) << "failures are not reported and do not stop it";
  EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(TuningDialog, AutotuneTunesATypicalChipWithTheWindowLocked) {
  ConnectSic();
  CTuningDlg& dialog = Open();
  dialog.SetItemText(td::kFrequency, "1");
  dialog.SetItemText(td::kDeviation, "2");
  Click(td::kAutotune);
  EXPECT_EQ(Text(td::kCtune), "61");
  EXPECT_EQ(Chip().ctune, 61);
  EXPECT_EQ(Text(td::kFrequency), "");
  EXPECT_EQ(Text(td::kDeviation), "");
  EXPECT_TRUE(prompts.messages().empty());
  EXPECT_TRUE(dialog.isEnabled());
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "the wait cursor ended";
  EXPECT_GE(clock_.pauses, 6);
  EXPECT_FALSE(clock_.enabledWhilePausing);
  EXPECT_FALSE(clock_.withoutWaitCursor);
  const std::vector<Bytes> commands = TakeCommands();
  ASSERT_EQ(commands.size(), 8u);
  EXPECT_EQ(std::vector<Bytes>(commands.begin(), commands.begin() + 6),
            (std::vector<Bytes>{MeasureCommand(96, 1, 0), MeasureCommand(96, 1, 0),
                                MeasureCommand(32, 1, 0), MeasureCommand(32, 1, 0),
                                MeasureCommand(96, 1, 1), MeasureCommand(32, 1, 1)}));
  EXPECT_EQ(commands[6], MeasureCommand(61, 1, 0));
  EXPECT_EQ(commands[7], MeasureCommand(61, 1, 1));
}

TEST_F(TuningDialog, AutotuneFailuresEmptyTheCtuneAndSaySo) {
  // A chip out of reach, and measurements without a frequency.
  const std::function<void(kxemu::Transponder&)> chips[] = {
      [](kxemu::Transponder& t) { t.circuit.frequencyScale = 1.12; },
      [](kxemu::Transponder& t) { t.measurementFaults.withoutFrequency = true; },
  };
  int chip = 0;
  for (const auto& change : chips) {
    ConnectSic();
    ChangeChip(change);
    prompts.Clear();
    CTuningDlg& dialog = Open();
    Click(td::kAutotune);
    EXPECT_EQ(Text(td::kCtune), "") << chip;
    EXPECT_EQ(prompts.MessageTexts(), QStringList{"Chip Tuning geht nicht"}) << chip;
    EXPECT_TRUE(dialog.isEnabled());
    dialog.Destroy();
    ++chip;
  }
}

TEST_F(TuningDialog, AConnectionThatIsGoneFailsEveryButtonQuietlyButAutotune) {
  ConnectSic(40);
  const int closed = handle_;
  KxLfClose(closed);
  handle_ = 0;
  Open(closed);
  Click(td::kRead);
  EXPECT_EQ(Text(td::kCtune), "");
  dialog_->SetItemText(td::kCtune, "50");
  Click(td::kSend);
  Click(td::kMeasure);
  Click(td::kTest);
  EXPECT_EQ(Text(td::kFrequency), "");
  EXPECT_TRUE(prompts.messages().empty());
  Click(td::kAutotune);
  EXPECT_EQ(prompts.MessageTexts(), QStringList{"Chip Tuning geht nicht"});
  EXPECT_TRUE(TakeCommands().empty());
  EXPECT_EQ(Chip().ctune, 40);
}

TEST_F(TuningDialog, BothLanguagesHaveEveryControlInATidyLayout) {
  ConnectSic();
  ExpectTidyLayout(Open(), *resources.FindDialog(td::kDialog));
  dialog_->Destroy();
  ASSERT_TRUE(resources.UseLibrary(KX_ENGLISH_LIBRARY_FILE)) << resources.LoadError();
  CTuningDlg& dialog = Open();
  EXPECT_EQ(dialog.windowTitle(), "SIC7999 Tuning");
  EXPECT_EQ(dialog.ItemText(td::kMeasure), "Measure");
  EXPECT_EQ(dialog.ItemText(td::kCancel), "Cancel");
  ExpectTidyLayout(dialog, *resources.FindDialog(td::kDialog));
  model_->SetTransponder(std::nullopt);
  Click(td::kAutotune);
  EXPECT_EQ(prompts.MessageTexts(), QStringList{"Chip tuning failed"});
}

}  // namespace
}  // namespace kx::dialogs::testing
