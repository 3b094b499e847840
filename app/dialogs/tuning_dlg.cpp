#include "dialogs/tuning_dlg.h"

#include "flows/auto_tune.h"
#include "flows/sic7999_tuning.h"
#include "framework/framework_strings.h"
#include "framework/wait_cursor.h"
#include "resources/tuning_dialog_ids.h"

namespace kx::dialogs {

namespace {

namespace id = res::tuning_dialog;

constexpr int kHighestCtune = 255;

// The CTune text as the byte it travels as; nullopt for anything but a whole number 0 to 255.
std::optional<int> CtuneOf(const QString& text) {
  bool ok = false;
  const int value = text.trimmed().toInt(&ok, 10);
  if (!ok || value < 0 || value > kHighestCtune)
    return std::nullopt;
  return value;
}

}  // namespace

CTuningDlg::CTuningDlg(ui::Services& services, int connection, QWidget* parent,
                       flows::TuningClock* clock)
    : Dialog(services, id::kDialog, parent),
      connection_(connection),
      ownClock_(clock == nullptr ? std::make_unique<flows::SleepingClock>() : nullptr),
      clock_(clock == nullptr ? *ownClock_ : *clock) {
  ShowLimits();
  BindClicked(id::kSetting0, [this] { OnSetting(); });
  BindClicked(id::kSetting1, [this] { OnSetting(); });
  BindClicked(id::kRead, [this] { OnRead(); });
  BindClicked(id::kMeasure, [this] { OnMessen(); });
  BindClicked(id::kTest, [this] { OnTest(); });
  BindClicked(id::kAutotune, [this] { OnAutotune(); });
}

CTuningDlg::~CTuningDlg() = default;

void CTuningDlg::DoDataExchange(ui::DataExchange& dx) {
  dx.Radio(id::kSetting0, setting_);
  dx.Text(id::kTarget, target_);
  dx.Text(id::kMinimum, minimum_);
  dx.Text(id::kMaximum, maximum_);
  dx.Text(id::kCtune, ctune_);
  dx.Text(id::kDuration, duration_);
  dx.Text(id::kFrequency, frequency_);
  dx.Text(id::kDeviation, deviation_);
}

void CTuningDlg::ShowLimits() {
  const flows::FrequencySetting& limits = flows::FrequencySettingOf(setting_);
  target_ = QString::number(limits.targetHz);
  minimum_ = QString::number(limits.minimumHz());
  maximum_ = QString::number(limits.maximumHz());
}

void CTuningDlg::OnSetting() {
  UpdateData(true);
  ShowLimits();
  UpdateData(false);
}

void CTuningDlg::OnRead() {
  UpdateData(true);
  const std::optional<int> ctune = flows::ReadCtune(connection_);
  if (!ctune) {
    SetItemText(id::kCtune, QString());
    return;
  }
  ctune_ = QString::number(*ctune);
  UpdateData(false);
}

void CTuningDlg::EmptyMeasurement() {
  SetItemText(id::kFrequency, QString());
  SetItemText(id::kDeviation, QString());
}

void CTuningDlg::Measure(int ctune, bool apply) {
  const std::optional<flows::Measurement> measured =
      flows::MeasureResonance(connection_, setting_, ctune, apply);
  // An answer without a frequency has nothing to show either.
  if (!measured) {
    EmptyMeasurement();
    return;
  }
  duration_ = QString::number(measured->periodUs);
  frequency_ = QString::number(measured->frequencyHz);
  deviation_ = QString::number(measured->deviationHz);
  UpdateData(false);
}

void CTuningDlg::OnMessen() {
  UpdateData(true);
  Measure(0, false);
}

void CTuningDlg::OnOK() {
  OnSend();
}

void CTuningDlg::OnSend() {
  UpdateData(true);
  // Only a number that fits the byte it travels as is sent.
  const std::optional<int> ctune = CtuneOf(ctune_);
  if (!ctune) {
    MessageBox(services().FormatString(ui::strings::kEnterIntegerBetween,
                                       {QStringLiteral("0"), QString::number(kHighestCtune)}));
    FocusItem(id::kCtune);
    return;
  }
  Measure(*ctune, true);
}

// Uses the setting as last taken over, as the sweep does not look at the controls.
void CTuningDlg::OnTest() {
  flows::SweepCtune(connection_, setting_);
}

void CTuningDlg::OnAutotune() {
  UpdateData(true);
  ui::WaitCursor wait;
  setEnabled(false);
  frequency_.clear();
  deviation_.clear();
  EmptyMeasurement();
  flows::SdkFrequencyMeter meter(connection_);
  const flows::TuneResult result = flows::AutoTune(meter, clock_);
  if (result.ok()) {
    ctune_ = QString::number(*result.ctune);
    UpdateData(false);
  } else {
    ctune_.clear();
    UpdateData(false);
    MessageBox(LoadString(id::kTuningFailed));
  }
  setEnabled(true);
}

}  // namespace kx::dialogs
