// Reading and writing transponders from the main window: once from the buttons, cyclically from
// the timers, and every outcome as a status line.
#include <QPlainTextEdit>

#include "ansi_text.h"
#include "beeper.h"
#include "flows/read_flow.h"
#include "flows/write_flow.h"
#include "framework/wait_cursor.h"
#include "main_dialog.h"
#include "message_text.h"
#include "reader_command.h"
#include "resources/ids.h"

namespace kx::app {

namespace {

using namespace res::main_window;

// Shown when the write's values cannot be taken over; the validation has shown why.
constexpr char kWriteTakeOverFailed[] = "OnSchreiben UpdateData Fehler";

}  // namespace

void CKX_M71_VantrelDlg::ShowStatusMessage(int stringId) {
  if (readBusy_ || writeBusy_) {
    if (stringId == lastStatusMessage_)
      return;
    lastStatusMessage_ = stringId;
  }
  AppendStatusLine(LoadString(stringId));
}

void CKX_M71_VantrelDlg::ShowFailure(const flows::Failure& failure) {
  if (const auto* status = std::get_if<flows::StatusMessage>(&failure.message)) {
    ShowStatusMessage(static_cast<int>(*status));
    return;
  }
  const auto& message = std::get<convert::Message>(failure.message);
  if (const auto* id = std::get_if<convert::MessageId>(&message))
    ShowStatusMessage(static_cast<int>(*id));
  else
    ShowConversionStatus(message);
}

void CKX_M71_VantrelDlg::OnResetStatus() {
  SetItemText(kStatus, QString());
  lastStatusMessage_ = 0;
  lastLogProblem_.clear();
}

bool CKX_M71_VantrelDlg::TakeOverForRead() {
  readOnlyExchange_ = true;
  const bool taken = UpdateData(true);
  readOnlyExchange_ = false;
  return taken;
}

void CKX_M71_VantrelDlg::ShowReadValue(const QString& text) {
  lastReadValue_ = text;
  SetItemText(ReadDisplay(), text);
  lastStatusMessage_ = 0;
}

void CKX_M71_VantrelDlg::ForgetReadValue() {
  if (IsChecked(kKeepLastValue) == 0)
    SetItemText(ReadDisplay(), QString());
}

bool CKX_M71_VantrelDlg::ReadOnce() {
  const flows::ReadRequest request{transponderType_, state_.startBlock, state_.byteCount, format()};
  flows::ReadDisplay read;
  {
    ReaderCommand command(readerBusy_);
    read = flows::ReadOnce(connection_, request);
  }
  if (!read.ok()) {
    ShowFailure(*read.failure);
    ForgetReadValue();
    return false;
  }
  ShowReadValue(FromAnsi(read.text));
  if (IsChecked(kLogReads) != 0)
    AppendReadLog(read.text);
  return true;
}

bool CKX_M71_VantrelDlg::WriteOnce() {
  flows::WriteRequest request;
  request.typeIndex = transponderType_;
  request.startBlock = state_.startBlock;
  request.n = state_.byteCount;
  request.format = format();
  request.text = ToAnsi(state_.writeText);
  request.leadingZeros = state_.leadingZeros != 0;
  request.extraText = state_.extraText != 0;
  request.autoIncrement = state_.autoIncrement != 0;
  flows::WriteOutcome outcome;
  {
    ui::WaitCursor waitCursor;
    ReaderCommand command(readerBusy_);
    outcome = flows::WriteOnce(connection_, request);
  }
  if (!outcome.ok()) {
    ShowFailure(*outcome.failure);
    return false;
  }
  state_.writeText = FromAnsi(outcome.loggedText);
  if (request.format == convert::DataFormat::kDecimalBinary)
    SetItemText(kWriteEdit, state_.writeText);
  if (IsChecked(kLogWrites) != 0)
    AppendWriteLog(outcome.loggedText);
  beeper_.Beep(kBeepFrequencyHz, state_.beepTimeMs);
  state_.writeText = FromAnsi(outcome.shownText);
  if (outcome.successLine == flows::StatusMessage::kDataWritten) {
    AppendStatusLine(services().FormatString(
        res::str::kDataWritten, {QStringLiteral("%1").arg(writeCounter_, 4, 10, QChar(u'0'))}));
    ++writeCounter_;
  } else {
    AppendStatusLine(services().FormatString(res::str::kValueWritten, {state_.writeText}));
  }
  lastStatusMessage_ = 0;
  if (request.autoIncrement) {
    state_.writeText = FromAnsi(outcome.nextText);
    SetItemText(kWriteEdit, state_.writeText);
  }
  return true;
}

void CKX_M71_VantrelDlg::OnLesen() {
  if (readerBusy_)
    return;
  if (TakeOverForRead())
    ReadOnce();
}

void CKX_M71_VantrelDlg::OnUidLesen() {
  if (readerBusy_)
    return;
  if (!TakeOverForRead())
    return;
  flows::ReadDisplay uid;
  {
    ReaderCommand command(readerBusy_);
    uid = flows::ReadUid(connection_, transponderType_, format(), state_.byteCount);
  }
  if (uid.ok())
    ShowReadValue(FromAnsi(uid.text));
  else
    ForgetReadValue();
}

void CKX_M71_VantrelDlg::OnSchreiben() {
  if (readerBusy_)
    return;
  if (!UpdateData(true)) {
    AppendStatusLine(QString::fromLatin1(kWriteTakeOverFailed));
    return;
  }
  writeCounter_ = 1;
  if (WriteOnce())
    UpdateData(false);
}

void CKX_M71_VantrelDlg::OnZyklischLesen() {
  if (readTimer_ != 0) {
    KillTimer(readTimer_);
    readTimer_ = 0;
    SetControlsEnabled(true);
    return;
  }
  if (!TakeOverForRead()) {
    CheckButton(kReadCyclic, false);
    return;
  }
  readTimer_ = SetTimer(kReadTimer, state_.cycleTimeMs);
  lastStatusMessage_ = 0;
  lastReadValue_.clear();
  SetControlsEnabled(false);
  EnableItem(kReadCyclic, true);
}

void CKX_M71_VantrelDlg::OnZyklischSchreiben() {
  if (writeTimer_ != 0) {
    KillTimer(writeTimer_);
    writeTimer_ = 0;
    SetControlsEnabled(true);
    return;
  }
  if (!UpdateData(true)) {
    CheckButton(kWriteCyclic, false);
    return;
  }
  writeTimer_ = SetTimer(kWriteTimer, state_.cycleTimeMs);
  lastStatusMessage_ = 0;
  writeCounter_ = 1;
  SetControlsEnabled(false);
  EnableItem(kWriteCyclic, true);
}

void CKX_M71_VantrelDlg::OnTimer(int id) {
  // A tick that finds the connection busy leaves its turn to the next tick.
  if (id == kReadTimer && readTimer_ != 0 && !readBusy_ && !readerBusy_) {
    readBusy_ = true;
    ReadOnce();
    readBusy_ = false;
  } else if (id == kWriteTimer && writeTimer_ != 0 && !writeBusy_ && !readerBusy_) {
    writeBusy_ = true;
    WriteOnce();
    writeBusy_ = false;
  }
  Dialog::OnTimer(id);
}

}  // namespace kx::app
