// "LAN Einstellung" (template 159): a reader's network settings. The dialog reads them from the
// reader when it starts, lets the operator choose between an address from DHCP (under a DHCP
// name) and a fixed address, and on OK writes them and waits, with a progress bar, until the
// reader answers under its new address. It closes only after a successful write.
#pragma once

#include <QString>

#include "dialogs/lan_sdk.h"
#include "dialogs/reader_return_wait.h"
#include "framework/dialog.h"

namespace kx::dialogs {

class CLanConfig : public ui::Dialog {
  Q_OBJECT

 public:
  // `readerName` is an entry of the list of found readers.
  CLanConfig(ui::Services& services, LanSdk& sdk, QString readerName, WaitClock& clock,
             QWidget* parent = nullptr);

  // After a successful write the address text that was written.
  const QString& readerName() const { return readerName_; }
  int addressMode() const { return mode_; }
  int port() const { return port_; }
  const QString& dhcpName() const { return dhcpName_; }
  // Whether the last write's reader answered under its new address in time.
  bool readerReturned() const { return readerReturned_; }

 protected:
  bool OnInitDialog() override;
  void DoDataExchange(ui::DataExchange& dx) override;
  void OnOK() override;
  void OnCancel() override;

 private:
  void Load();
  void OnModeChosen();
  void EnableForMode();
  // Hides the buttons behind the progress bar while the reader is written and awaited.
  void ShowWriting(bool writing);

  LanSdk& sdk_;
  WaitClock& clock_;
  QString readerName_;
  QString dhcpName_;
  int port_ = 0;
  int mode_ = -1;  // no radio checked until the reader's settings are read
  QString fixedAddress_;
  QString subnetMask_;
  QString gateway_;
  bool writing_ = false;
  bool readerReturned_ = false;
};

}  // namespace kx::dialogs
