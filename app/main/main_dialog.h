// The program's main window (template 102): the transponder type and data format, the start block
// and length, the read and write groups, the log file names and the status box. It reads its
// settings when it is made and writes them when its window goes.
#pragma once

#include <QString>
#include <cstdint>

#include "convert/data_format.h"
#include "convert/messages.h"
#include "framework/dialog.h"
#include "main_settings.h"

namespace kx::app {

class SettingsStore;

// End code of a language switch: the application shows a new main window at once.
inline constexpr int kEndLanguageSwitch = 10;

class CKX_M71_VantrelDlg : public ui::Dialog {
  Q_OBJECT

 public:
  // programDirectory ends with "/".
  CKX_M71_VantrelDlg(ui::Services& services, SettingsStore& store, const QString& programDirectory);

  // Re-expresses the write text in the new format and lays the controls out for it; with the
  // current format only the layout, limits and enabling are renewed.
  void SetDatenformat(int format);
  // The ready state's enabling with enable, everything of the type and format controls disabled
  // without.
  void SetControlsEnabled(bool enable);
  // The group box ends 10 pixels below the control.
  void ResizeGroupBox(int groupBoxId, int controlId);

  // A line at the end of the status box; a box of more than 1000 lines is emptied first.
  void AppendStatusLine(const QString& text);

  // The state as the last data exchange left it.
  const MainSettings& state() const { return state_; }
  int transponderType() const { return transponderType_; }
  const QString& readDisplayText() const { return readDisplayText_; }
  const QString& appTitle() const { return appTitle_; }

 protected:
  bool OnInitDialog() override;
  void DoDataExchange(ui::DataExchange& dx) override;
  void OnSystemMenuOpening() override;
  void OnSysCommand(int commandId) override;
  void OnDestroy() override;

  // The reader connection; 0: none.
  int connection_ = 0;

 private:
  void BindHandlers();
  void BuildSystemMenu();
  void ExchangeByteCountAndText(ui::DataExchange& dx);
  void OnTypeClicked();
  void OnByteCountLeft();
  void OnLeadingZerosClicked();
  void OnCopyReadToWrite();
  void OnResetStatus();
  void ShowConversionStatus(const convert::Message& message);
  void LayOutFormat();
  void CloseConnection();

  convert::DataFormat format() const;
  // The write edit of the current format: single line for the number formats.
  int WriteEdit() const;

  SettingsStore& store_;
  MainSettings state_;
  QString readDisplayText_;
  int transponderType_ = 0;
  QString appTitle_;
};

}  // namespace kx::app
