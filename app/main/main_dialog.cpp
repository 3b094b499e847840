// Construction, data exchange and the command handlers of the main window.
#include "main_dialog.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <iterator>
#include <string>

#include "ansi_text.h"
#include "beeper.h"
#include "convert/leading_zeros.h"
#include "convert/validation.h"
#include "flows/status_messages.h"
#include "flows/transponder_types.h"
#include "framework/resources.h"
#include "interface_selection.h"
#include "kxlf.h"
#include "message_text.h"
#include "resources/ids.h"
#include "update/update_checker.h"

namespace kx::app {

namespace {

using namespace res::main_window;

// The start block range of a type index that names no type.
constexpr uint32_t kUnknownTypeHighestStartBlock = 255;

uint32_t HighestStartBlock(int typeIndex) {
  const flows::TransponderType* type = flows::FindTransponderType(typeIndex);
  return type != nullptr ? type->highestStartBlock : kUnknownTypeHighestStartBlock;
}

// The edit's text as a signed number; 0 when it holds none.
int SignedValue(const QString& text) {
  bool ok = false;
  const int value = text.trimmed().toInt(&ok);
  return ok ? value : 0;
}

// Read Only and TI Read / Write: always 8 bytes from block 0.
bool IsFixedLengthType(int typeIndex) {
  const flows::TransponderType* type = flows::FindTransponderType(typeIndex);
  return type != nullptr && type->fixedBlockZero;
}

bool IsDataFormat(int format) {
  return format >= static_cast<int>(convert::DataFormat::kDataBinary);
}

}  // namespace

CKX_M71_VantrelDlg::CKX_M71_VantrelDlg(ui::Services& services, SettingsStore& store,
                                       const QString& logDirectory, InterfaceSelection* interfaces,
                                       Beeper* beeper, update::UpdateChecker* updates)
    : Dialog(services, kDialog),
      store_(store),
      updates_(updates),
      ownInterfaces_(interfaces != nullptr ? nullptr
                                           : std::make_unique<StoredInterfaceOnly>(store)),
      ownBeeper_(beeper != nullptr ? nullptr : std::make_unique<SilentBeeper>()),
      interfaces_(interfaces != nullptr ? *interfaces : *ownInterfaces_),
      beeper_(beeper != nullptr ? *beeper : *ownBeeper_),
      state_(ReadMainSettings(store, logDirectory)) {
  BindHandlers();
}

CKX_M71_VantrelDlg::~CKX_M71_VantrelDlg() = default;

void CKX_M71_VantrelDlg::BindHandlers() {
  for (int id : kTypeRadios)
    BindClicked(id, [this] { OnTypeClicked(); });
  for (int index = 0; index < static_cast<int>(std::size(kFormatRadios)); ++index)
    BindClicked(kFormatRadios[index], [this, index] { SetDatenformat(index); });
  Bind(kByteCount, ui::Notification::kKillFocus, [this] { OnByteCountLeft(); });
  BindClicked(kLeadingZeros, [this] { OnLeadingZerosClicked(); });
  BindClicked(kExtraText, [this] { OnLeadingZerosClicked(); });
  BindClicked(kCopyReadToWrite, [this] { OnCopyReadToWrite(); });
  BindClicked(kResetStatus, [this] { OnResetStatus(); });
  BindClicked(kReadOnce, [this] { OnLesen(); });
  BindClicked(kReadCyclic, [this] { OnZyklischLesen(); });
  BindClicked(kReadUid, [this] { OnUidLesen(); });
  BindClicked(kWriteOnce, [this] { OnSchreiben(); });
  BindClicked(kWriteCyclic, [this] { OnZyklischSchreiben(); });
  BindClicked(kChooseWriteLog, [this] { ChooseWriteLogFile(); });
  BindClicked(kChooseReadLog, [this] { ChooseReadLogFile(); });
  BindClicked(kSaveRecord, [this] { OnDatensatzSchreiben(); });
  BindClicked(kLoadRecord, [this] { OnDatensatzLesen(); });
  BindClicked(update::kNotifyId, [this] { OnUpdateCheckDone(); });
  BindClicked(ui::cmd::kAppExit, [this] { OnAppExit(); });
}

bool CKX_M71_VantrelDlg::OnInitDialog() {
  Dialog::OnInitDialog();
  BuildSystemMenu();
  setWindowIcon(services().resources().Icon(res::icon::kApplication));
  SetItemText(kWriteLogName, state_.writeLogFile);
  SetItemText(kReadLogName, state_.readLogFile);
  appTitle_ = LoadString(res::str::kAppTitle);
  ConnectAtStartUp();
  SetDatenformat(state_.dataFormat);
  StartUpdateCheck();
  return true;
}

void CKX_M71_VantrelDlg::DoDataExchange(ui::DataExchange& dx) {
  dx.Radio(kTypeReadOnly, transponderType_);
  int formatIndex = state_.dataFormat;
  dx.Radio(kFormatHexBinary, formatIndex);
  if (convert::DataFormatFromIndex(formatIndex))
    state_.dataFormat = formatIndex;
  dx.Check(kAutoIncrement, state_.autoIncrement);
  dx.Check(kLogWrites, state_.logWrites);
  dx.Check(kLogReads, state_.logReads);
  dx.Check(kLeadingZeros, state_.leadingZeros);
  dx.Check(kExtraText, state_.extraText);
  // A start block out of range stays out of the state, so that it is never saved.
  uint32_t startBlock = state_.startBlock;
  dx.Text(kStartBlock, startBlock);
  dx.MinMax(startBlock, 0u, HighestStartBlock(transponderType_));
  if (dx.Ok())
    state_.startBlock = startBlock;
  dx.Text(kReadDisplay, readDisplayText_);
  if (!dx.Ok())
    return;
  // A running cycle keeps everything but its own toggle disabled, also when a UID read takes the
  // values over meanwhile; otherwise the other cycle could be started beside it.
  if (!CycleRunning())
    SetControlsEnabled(true);
  ExchangeByteCountAndText(dx);
}

void CKX_M71_VantrelDlg::ExchangeByteCountAndText(ui::DataExchange& dx) {
  const int edit = WriteEdit();
  if (!dx.Saving()) {
    dx.Text(kByteCount, state_.byteCount);
    dx.Text(edit, state_.writeText);
    return;
  }
  if (IsFixedLengthType(transponderType_))
    SetItemText(kByteCount, QStringLiteral("8"));
  const std::string length = ToAnsi(ItemText(kByteCount));
  const QString text = ItemText(edit);
  const std::string ansiText = ToAnsi(text);
  convert::WriteInput input{format(), transponderType_,      length,
                            ansiText, state_.extraText != 0, false};
  // The length first, on its own, so that a failure points at the field it concerns.
  const convert::ValidatedInput counted = convert::ValidateWriteInput(input);
  dx.PrepareControl(kByteCount);
  if (!counted.ok()) {
    dx.Fail(MessageText(services(), *counted.failure));
    return;
  }
  state_.byteCount = counted.n;
  if (readOnlyExchange_) {
    state_.writeText = text;
    return;
  }
  input.checkWriteText = true;
  const convert::ValidatedInput checked = convert::ValidateWriteInput(input);
  dx.PrepareControl(edit);
  if (!checked.ok()) {
    dx.Fail(MessageText(services(), *checked.failure));
    return;
  }
  state_.writeText = text;
}

void CKX_M71_VantrelDlg::OnTypeClicked() {
  // A failed take-over still leaves the new type in place; its enabling must follow it, or a
  // Read Only transponder would keep the write buttons of the type before.
  if (!UpdateData(true))
    SetControlsEnabled(true);
  SetDatenformat(state_.dataFormat);
}

void CKX_M71_VantrelDlg::OnByteCountLeft() {
  state_.byteCount = SignedValue(ItemText(kByteCount));
  SetDatenformat(state_.dataFormat);
}

void CKX_M71_VantrelDlg::OnLeadingZerosClicked() {
  const convert::DataFormat current = format();
  if (current != convert::DataFormat::kHexAscii && current != convert::DataFormat::kDecimalAscii)
    return;
  if (!UpdateData(true))
    return;
  state_.writeText = FromAnsi(convert::ApplyLeadingZeros(ToAnsi(state_.writeText), state_.byteCount,
                                                         IsChecked(kLeadingZeros) != 0));
  SetItemText(kWriteEdit, state_.writeText);
}

void CKX_M71_VantrelDlg::OnCopyReadToWrite() {
  SetItemText(kWriteEdit, ItemText(kReadDisplay));
  SetItemText(kWriteEditMultiLine, ItemText(kReadDisplayMultiLine));
}

void CKX_M71_VantrelDlg::OnDestroy() {
  // The settings are saved whatever the take-over says; its message has been shown.
  UpdateData(true);
  SaveMainSettings(store_, state_);
  CloseConnection();
}

void CKX_M71_VantrelDlg::CloseConnection() {
  if (connection_ <= 0)
    return;
  const int handle = connection_;
  connection_ = 0;
  if (KxLfClose(handle) >= 0)
    return;
  const flows::StatusMessage error = flows::ErrorMessageId(KxLfGetLastError(handle));
  MessageBox(LoadString(static_cast<int>(error)));
}

void CKX_M71_VantrelDlg::AppendStatusLine(const QString& text) {
  auto* box = ItemAs<QPlainTextEdit>(kStatus);
  if (box == nullptr)
    return;
  constexpr int kMostLines = 1000;
  if (box->blockCount() > kMostLines)
    box->clear();
  box->moveCursor(QTextCursor::End);
  box->insertPlainText(text + u'\n');
  box->ensureCursorVisible();
}

void CKX_M71_VantrelDlg::ShowConversionStatus(const convert::Message& message) {
  AppendStatusLine(MessageText(services(), message));
}

convert::DataFormat CKX_M71_VantrelDlg::format() const {
  return static_cast<convert::DataFormat>(state_.dataFormat);
}

int CKX_M71_VantrelDlg::WriteEdit() const {
  return IsDataFormat(state_.dataFormat) ? kWriteEditMultiLine : kWriteEdit;
}

int CKX_M71_VantrelDlg::ReadDisplay() const {
  return IsDataFormat(state_.dataFormat) ? kReadDisplayMultiLine : kReadDisplay;
}

}  // namespace kx::app
