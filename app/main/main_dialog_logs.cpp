// The main window's two logs: a line for every successful write and read when its box is ticked,
// the choice of their files, and a status line when a line could not be appended.
#include <QFile>

#include "flows/transponder_types.h"
#include "main_dialog.h"
#include "resources/ids.h"
#include "settings_store.h"

namespace kx::app {

namespace {

using namespace res::main_window;
namespace str = res::str;

constexpr char kLogFilter[] = "Log Files (*.txt);;All Files (*)";
constexpr char kLogSuffix[] = "txt";

int ReasonId(log::AppendOutcome outcome) {
  switch (outcome) {
    case log::AppendOutcome::kNoFileName:
      return str::kLogReasonNoFileName;
    case log::AppendOutcome::kDirectoryMissing:
      return str::kLogReasonDirectoryMissing;
    case log::AppendOutcome::kAccessDenied:
      return str::kLogReasonAccessDenied;
    case log::AppendOutcome::kNotAFile:
      return str::kLogReasonNotAFile;
    case log::AppendOutcome::kLocked:
      return str::kLogReasonLocked;
    case log::AppendOutcome::kReadFailed:
      return str::kLogReasonReadFailed;
    case log::AppendOutcome::kWriteFailed:
      return str::kLogReasonWriteFailed;
    case log::AppendOutcome::kOpenFailed:
    case log::AppendOutcome::kAppended:
      break;
  }
  return str::kLogReasonOpenFailed;
}

}  // namespace

void CKX_M71_VantrelDlg::AppendWriteLog(const std::string& value) {
  AppendLog(writeLog_, state_.writeLogFile, value);
}

void CKX_M71_VantrelDlg::AppendReadLog(const std::string& value) {
  AppendLog(readLog_, state_.readLogFile, value);
}

void CKX_M71_VantrelDlg::AppendLog(std::optional<log::LogFile>& log, const QString& path,
                                   const std::string& value) {
  const std::string fileName = QFile::encodeName(path).toStdString();
  if (!log || log->Path() != fileName)
    log.emplace(fileName);
  // The types whose transponders have no blocks to choose log block 0.
  const flows::TransponderType* type = flows::FindTransponderType(transponderType_);
  const unsigned startBlock = type != nullptr ? flows::FirstBlock(*type, state_.startBlock) : 0;
  const log::AppendResult result = log->AppendLine(
      log::LogRecord{format(), static_cast<int>(startBlock), state_.byteCount, value});
  if (result.ok()) {
    lastLogProblem_.clear();
    return;
  }
  ShowLogProblem(path, result.outcome);
}

void CKX_M71_VantrelDlg::ShowLogProblem(const QString& path, log::AppendOutcome outcome) {
  const QString text =
      services().FormatString(str::kLogNotWritten, {path, LoadString(ReasonId(outcome))});
  if ((readBusy_ || writeBusy_) && text == lastLogProblem_)
    return;
  lastLogProblem_ = text;
  AppendStatusLine(text);
}

void CKX_M71_VantrelDlg::ChooseWriteLogFile() {
  ChooseLogFile(str::kChooseWriteLogTitle, key::kWriteLogName, kWriteLogName, state_.writeLogFile);
}

void CKX_M71_VantrelDlg::ChooseReadLogFile() {
  ChooseLogFile(str::kChooseReadLogTitle, key::kReadLogName, kReadLogName, state_.readLogFile);
}

void CKX_M71_VantrelDlg::ChooseLogFile(int titleId, const char* key, int labelId,
                                       QString& fileName) {
  ui::FileRequest request;
  request.mode = ui::FileRequest::Mode::kSave;
  request.title = LoadString(titleId);
  request.initialPath = fileName;
  request.filter = QString::fromLatin1(kLogFilter);
  request.defaultSuffix = QString::fromLatin1(kLogSuffix);
  request.acceptLabel = LoadString(str::kLogChooserOk);
  request.rejectLabel = LoadString(str::kLogChooserCancel);
  // Lines are appended to the chosen file; it is never replaced.
  request.confirmOverwrite = false;
  const std::optional<QString> chosen = services().AskFileName(this, request);
  if (!chosen)
    return;
  fileName = *chosen;
  store_.SetString(QString::fromUtf8(section::kProtocol), QString::fromUtf8(key), fileName);
  SetItemText(labelId, fileName);
}

}  // namespace kx::app
