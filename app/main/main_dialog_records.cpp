// Data record files: the main window's job saved to and loaded from "*.HWDat" files.
#include <QFile>

#include "ansi_text.h"
#include "data_record.h"
#include "main_dialog.h"
#include "resources/ids.h"

namespace kx::app {

namespace {

namespace str = res::str;

constexpr char kRecordFilter[] = "Data Files (*.HWDat);;All Files (*)";
constexpr char kRecordSuffix[] = "HWDat";

ui::FileRequest RecordRequest(ui::FileRequest::Mode mode) {
  ui::FileRequest request;
  request.mode = mode;
  request.filter = QString::fromLatin1(kRecordFilter);
  request.defaultSuffix = QString::fromLatin1(kRecordSuffix);
  return request;
}

std::string FileName(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

}  // namespace

void CKX_M71_VantrelDlg::OnDatensatzSchreiben() {
  // The record takes what the window holds, and a waiting command may still change that.
  if (readerBusy_)
    return;
  if (!UpdateData(true))
    return;
  // A record keeps its write text on one line of the file: a second line would be lost on
  // loading, or read as entries of its own.
  if (state_.writeText.contains(u'\n') || state_.writeText.contains(u'\r')) {
    MessageBox(LoadString(str::kRecordTextHasLineBreaks));
    return;
  }
  const std::optional<QString> path =
      services().AskFileName(this, RecordRequest(ui::FileRequest::Mode::kSave));
  if (!path)
    return;
  DataRecord record;
  record.writeText = ToAnsi(state_.writeText);
  record.autoIncrement = state_.autoIncrement;
  record.leadingZeros = state_.leadingZeros;
  record.extraText = state_.extraText;
  record.dataFormat = state_.dataFormat;
  record.startBlock = static_cast<int>(state_.startBlock);
  record.byteCount = state_.byteCount;
  if (!SaveDataRecord(FileName(*path), record))
    MessageBox(services().FormatString(str::kRecordNotSaved, {*path}));
}

void CKX_M71_VantrelDlg::OnDatensatzLesen() {
  if (readerBusy_)
    return;
  const std::optional<QString> path =
      services().AskFileName(this, RecordRequest(ui::FileRequest::Mode::kOpen));
  if (path)
    LoadDataRecord(*path);
}

bool CKX_M71_VantrelDlg::LoadDataRecord(const QString& path) {
  const std::optional<DataRecord> record = ReadDataRecord(FileName(path));
  if (!record) {
    MessageBox(services().FormatString(str::kRecordNotLoaded, {path}));
    return false;
  }
  state_.writeText = FromAnsi(record->writeText);
  state_.autoIncrement = record->autoIncrement;
  state_.leadingZeros = record->leadingZeros;
  state_.extraText = record->extraText;
  // The window has no radio for another format, and every conversion needs one of the six.
  state_.dataFormat = convert::DataFormatFromIndex(record->dataFormat) ? record->dataFormat : 0;
  // Other values are taken as they are; the next take-over refuses those out of range.
  state_.startBlock = static_cast<uint32_t>(record->startBlock);
  state_.byteCount = record->byteCount;
  UpdateData(false);
  SetDatenformat(state_.dataFormat);
  return true;
}

}  // namespace kx::app
