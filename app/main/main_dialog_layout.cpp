// What the main window shows and enables for its transponder type and data format.
#include "ansi_text.h"
#include "convert/format_switch.h"
#include "main_dialog.h"
#include "resources/ids.h"

namespace kx::app {

namespace {

using namespace res::main_window;
using convert::DataFormat;

// Space between a group box's last control and its bottom edge, in pixels.
constexpr int kGroupBottomMargin = 10;

bool IsAsciiNumber(int format) {
  return format == static_cast<int>(DataFormat::kHexAscii) ||
         format == static_cast<int>(DataFormat::kDecimalAscii);
}

bool IsNumber(int format) {
  return format >= static_cast<int>(DataFormat::kHexBinary) &&
         format <= static_cast<int>(DataFormat::kDecimalAscii);
}

}  // namespace

void CKX_M71_VantrelDlg::SetControlsEnabled(bool enable) {
  const bool writable = transponderType_ > 0;
  const int current = state_.dataFormat;
  EnableItem(kAutoIncrement, enable && IsNumber(current) && writable);
  EnableItem(kLeadingZeros, enable && IsAsciiNumber(current) && writable);
  for (int id : kFormatRadios)
    EnableItem(id, enable);
  for (int id : {kCopyReadToWrite, kWriteCyclic, kWriteOnce})
    EnableItem(id, enable && writable);
  for (int id : {kReadCyclic, kReadOnce})
    EnableItem(id, enable);
  for (int id : {kStartBlock, kByteCount})
    EnableItem(id, enable && transponderType_ >= 2);
  for (int id : kTypeRadios)
    EnableItem(id, enable);
}

void CKX_M71_VantrelDlg::SetDatenformat(int newFormat) {
  const std::optional<DataFormat> to = convert::DataFormatFromIndex(newFormat);
  if (!to)
    return;
  if (newFormat != state_.dataFormat) {
    const convert::SwitchedText switched =
        convert::SwitchFormatText(ToAnsi(ItemText(WriteEdit())), format(), *to, state_.byteCount,
                                  transponderType_, state_.leadingZeros != 0);
    for (const convert::Message& status : switched.statuses)
      ShowConversionStatus(status);
    state_.dataFormat = newFormat;
    state_.writeText = FromAnsi(switched.text);
    SetItemText(WriteEdit(), state_.writeText);
    SetItemText(kReadDisplay, QString());
    SetItemText(kReadDisplayMultiLine, QString());
  }
  SetTextLimit(WriteEdit(), convert::WriteTextLimit(*to, state_.byteCount));
  LayOutFormat();
}

void CKX_M71_VantrelDlg::LayOutFormat() {
  const bool writable = transponderType_ > 0;
  const int current = state_.dataFormat;
  const bool singleLine = IsNumber(current);
  ShowItem(kReadDisplay, singleLine);
  ShowItem(kWriteEdit, singleLine && writable);
  ShowItem(kReadDisplayMultiLine, !singleLine);
  ShowItem(kWriteEditMultiLine, !singleLine);
  ResizeGroupBox(kReadGroup, ReadDisplay());
  ResizeGroupBox(kWriteGroup, WriteEdit());
  if (!singleLine) {
    // Data has no number to count up, pad or surround with text.
    for (int id : {kLeadingZeros, kAutoIncrement, kExtraText}) {
      EnableItem(id, false);
      CheckButton(id, false);
    }
    state_.leadingZeros = 0;
    state_.autoIncrement = 0;
    state_.extraText = 0;
    return;
  }
  // A running cycle keeps the write options as it disabled them, also when a data record is
  // loaded meanwhile.
  const bool idle = !CycleRunning();
  EnableItem(kLeadingZeros, idle && IsAsciiNumber(current) && writable);
  EnableItem(kAutoIncrement, idle && writable);
  EnableItem(kExtraText, IsAsciiNumber(current) && writable);
  if (!IsAsciiNumber(current)) {
    // Extra text belongs to numbers written as characters.
    state_.extraText = 0;
    CheckButton(kExtraText, false);
  }
}

void CKX_M71_VantrelDlg::ResizeGroupBox(int groupBoxId, int controlId) {
  QRect group = ItemRect(groupBoxId);
  const QRect control = ItemRect(controlId);
  group.setHeight(control.y() + control.height() + kGroupBottomMargin - group.y());
  SetItemRect(groupBoxId, group);
}

}  // namespace kx::app
