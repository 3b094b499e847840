// The program's main window (template 102): the transponder type and data format, the start block
// and length, the read and write groups, the log file names and the status box. It reads its
// settings when it is made and writes them when its window goes.
#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "convert/data_format.h"
#include "convert/messages.h"
#include "flows/failure.h"
#include "framework/dialog.h"
#include "log/append_result.h"
#include "log/log_file.h"
#include "main_settings.h"

namespace kx::update {
class UpdateChecker;
}

namespace kx::app {

class Beeper;
class InterfaceSelection;
class SettingsStore;

// End code of a language switch: the application shows a new main window at once.
inline constexpr int kEndLanguageSwitch = 10;

// Window timers of the cyclic operations.
inline constexpr int kWriteTimer = 1;
inline constexpr int kReadTimer = 2;

// Frequency of the success beep.
inline constexpr int kBeepFrequencyHz = 440;

class CKX_M71_VantrelDlg : public ui::Dialog {
  Q_OBJECT

 public:
  // logDirectory, where the default logs lie, ends with "/". Without interfaces only the stored
  // interface is tried; without a beeper writes are silent; without an update checker nothing is
  // fetched (the About dialog then says there is no connection).
  CKX_M71_VantrelDlg(ui::Services& services, SettingsStore& store, const QString& logDirectory,
                     InterfaceSelection* interfaces = nullptr, Beeper* beeper = nullptr,
                     update::UpdateChecker* updates = nullptr);
  ~CKX_M71_VantrelDlg() override;

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
  // The string as a status line. While a timer tick runs, the same string as the last one is
  // left out, so that a cycle shows a lasting error once.
  void ShowStatusMessage(int stringId);

  // Opens the connection and accepts only the supported readers; the caption names the reader.
  // A failure is shown in a message box and leaves no connection.
  bool Connect(const std::string& connectionName, int baudCode, int timeoutMs);
  // One read or write of the current state; outcomes go to the status box.
  bool ReadOnce();
  bool WriteOnce();

  // A record of the read or write just done, when its log is ticked. A line that cannot be
  // appended leaves one status line; the read or write stays successful.
  void AppendWriteLog(const std::string& value);
  void AppendReadLog(const std::string& value);
  // The "..." buttons of the logs: a file dialog; the chosen name is stored at once.
  void ChooseWriteLogFile();
  void ChooseReadLogFile();

  // Data record files: a file dialog, then the job is saved or loaded.
  void OnDatensatzSchreiben();
  void OnDatensatzLesen();
  // Puts the record's values into the window and lays it out for the record's data format; the
  // write text is shown as saved. A file that cannot be read is reported and changes nothing.
  bool LoadDataRecord(const QString& path);

  int connection() const { return connection_; }
  // Whether a reader command is waiting for its answer; no other may start meanwhile.
  bool ReaderBusy() const { return readerBusy_; }
  const QString& lastReadValue() const { return lastReadValue_; }
  int writeCounter() const { return writeCounter_; }

  // The state as the last data exchange left it.
  const MainSettings& state() const { return state_; }
  int transponderType() const { return transponderType_; }
  const QString& appTitle() const { return appTitle_; }

 protected:
  bool OnInitDialog() override;
  void DoDataExchange(ui::DataExchange& dx) override;
  void OnSystemMenuOpening() override;
  void OnSysCommand(int commandId) override;
  void OnDestroy() override;
  void OnTimer(int id) override;
  void OnOK() override;
  void OnCancel() override;

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

  void ConnectAtStartUp();
  void ChooseInterface();
  bool ConnectStored(const std::string& connectionName);
  void OnLesen();
  void OnUidLesen();
  void OnSchreiben();
  void OnZyklischLesen();
  void OnZyklischSchreiben();
  // Takes the control values over for a read: the write text is not checked.
  bool TakeOverForRead();
  bool CycleRunning() const { return readTimer_ != 0 || writeTimer_ != 0; }
  void ShowFailure(const flows::Failure& failure);
  void ShowReadValue(const QString& text);
  void ForgetReadValue();
  void AppendLog(std::optional<log::LogFile>& log, const QString& path, const std::string& value);
  void ShowLogProblem(const QString& path, log::AppendOutcome outcome);
  void ChooseLogFile(int titleId, const char* key, int labelId, QString& fileName);
  void OnSettings();
  void OpenChipTool();
  // The update check: started with the window when switched on; its result opens the About
  // dialog when a newer release exists.
  void StartUpdateCheck();
  void OnUpdateCheckDone();
  void ShowAbout();
  void OnAppExit();

  convert::DataFormat format() const;
  // The write edit and the read display of the current format: single line for the number
  // formats.
  int WriteEdit() const;
  int ReadDisplay() const;

  SettingsStore& store_;
  update::UpdateChecker* updates_;
  std::unique_ptr<InterfaceSelection> ownInterfaces_;
  std::unique_ptr<Beeper> ownBeeper_;
  InterfaceSelection& interfaces_;
  Beeper& beeper_;
  MainSettings state_;
  QString readDisplayText_;
  int transponderType_ = 0;
  QString appTitle_;

  QString lastReadValue_;
  bool readOnlyExchange_ = false;
  int writeCounter_ = 1;
  int readTimer_ = 0;
  int writeTimer_ = 0;
  bool readBusy_ = false;
  bool writeBusy_ = false;
  int lastStatusMessage_ = 0;
  // Each log remembers its line count between appends.
  std::optional<log::LogFile> writeLog_;
  std::optional<log::LogFile> readLog_;
  // The last log failure shown; a cycle shows a lasting one once.
  QString lastLogProblem_;
  // Set for as long as an SDK command waits: the SDK runs the window's events meanwhile, and the
  // connection takes one command at a time.
  bool readerBusy_ = false;
};

}  // namespace kx::app
