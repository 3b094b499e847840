// The SIC7999 tuning dialog "SIC7999 Tuning" (template 130): reads the chip's CTune, measures its
// resonance with the chip's own or a sent CTune, sweeps CTune, and tunes the chip automatically
// into the windows of both frequency settings. It borrows the main window's connection.
#pragma once

#include <QString>
#include <memory>

#include "framework/dialog.h"

namespace kx::flows {
class TuningClock;
}

namespace kx::dialogs {

class CTuningDlg : public ui::Dialog {
  Q_OBJECT

 public:
  // Without a clock the automatic tuning pauses for real.
  CTuningDlg(ui::Services& services, int connection, QWidget* parent = nullptr,
             flows::TuningClock* clock = nullptr);
  ~CTuningDlg() override;

  int setting() const { return setting_; }

 protected:
  void DoDataExchange(ui::DataExchange& dx) override;
  // Enter sends the CTune with a measurement; the dialog stays open.
  void OnOK() override;

 private:
  void OnSetting();
  void OnRead();
  void OnMessen();
  void OnSend();
  void OnTest();
  void OnAutotune();
  void ShowLimits();
  // Measures and shows the values; a failed measurement empties the frequency and deviation.
  void Measure(int ctune, bool apply);
  void EmptyMeasurement();

  const int connection_;
  std::unique_ptr<flows::TuningClock> ownClock_;
  flows::TuningClock& clock_;
  int setting_ = 1;
  QString target_;
  QString minimum_;
  QString maximum_;
  QString ctune_ = QStringLiteral("96");
  QString duration_;
  QString frequency_;
  QString deviation_;
};

}  // namespace kx::dialogs
