// The TMS37190 configuration dialog "TMS37190 (HDX+) Config" (template 164): reads the
// configuration byte of the TI HDX+ transponder in the field, shows its life cycle, Q factor,
// discharge switch and reserved bits, and writes the byte composed from them. It borrows the
// main window's connection; nothing is read when it opens.
#pragma once

#include "framework/dialog.h"

namespace kx::dialogs {

class CHDXPlusConfigDlg : public ui::Dialog {
  Q_OBJECT

 public:
  CHDXPlusConfigDlg(ui::Services& services, int connection, QWidget* parent = nullptr);

  int lifeCycle() const { return lifeCycle_; }
  int qFactor() const { return qFactor_; }
  int discharge() const { return discharge_; }
  int rfu() const { return rfu_; }

 protected:
  void DoDataExchange(ui::DataExchange& dx) override;

 private:
  void OnLesen();
  void OnSchreiben();

  const int connection_;
  int lifeCycle_ = 0;
  int qFactor_ = 0;
  int discharge_ = 0;
  int rfu_ = 0;
};

}  // namespace kx::dialogs
