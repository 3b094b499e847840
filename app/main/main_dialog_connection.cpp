// The main window's reader connection: connecting with the stored interface at the start, the
// interface dialog until a reader answers, and the caption that names the reader.
#include "ansi_text.h"
#include "flows/connect.h"
#include "interface_selection.h"
#include "main_dialog.h"
#include "main_settings.h"
#include "product_version.h"
#include "reader_command.h"
#include "resources/ids.h"
#include "settings_store.h"

namespace kx::app {

namespace {

// The firmware text of the string table, "FW V%d.%02d", with the major number 1 and the
// revision of the reader's version answer.
QString FirmwareText(const QString& format, int revision) {
  return QString(format)
      .replace(QStringLiteral("%02d"), QStringLiteral("%1").arg(revision, 2, 10, QChar(u'0')))
      .replace(QStringLiteral("%d"), QStringLiteral("1"));
}

}  // namespace

bool CKX_M71_VantrelDlg::Connect(const std::string& connectionName, int baudCode, int timeoutMs) {
  const QString captionStart =
      appTitle_ + QStringLiteral(" V") + GetProductVersionText() + QStringLiteral(" <");
  setWindowTitle(captionStart + u'>');
  flows::ConnectResult result;
  {
    ReaderCommand command(readerBusy_);
    result = flows::Connect(connectionName, baudCode, timeoutMs);
  }
  if (!result.ok()) {
    connection_ = 0;
    const auto* id = std::get_if<flows::StatusMessage>(&result.failure->message);
    MessageBox(LoadString(
        static_cast<int>(id != nullptr ? *id : flows::ErrorMessageId(result.failure->sdkError))));
    return false;
  }
  connection_ = result.handle;
  const flows::ReaderIdentity& reader = *result.reader;
  setWindowTitle(captionStart + FromAnsi(flows::ReaderText(reader, connectionName)) +
                 QStringLiteral("  ") +
                 FirmwareText(LoadString(res::str::kFirmwareText), reader.firmwareRevision) + u'>');
  return true;
}

bool CKX_M71_VantrelDlg::ConnectStored(const std::string& connectionName) {
  // The interface dialog may have changed the serial line and timeout: read them each time.
  const int baudCode = store_.GetInt(section::kPort, key::kBaudCode, kDefaultBaudCode);
  const int timeoutMs = store_.GetInt(section::kPort, key::kTimeout, kDefaultConnectTimeoutMs);
  return Connect(connectionName, baudCode, timeoutMs);
}

void CKX_M71_VantrelDlg::ConnectAtStartUp() {
  std::string name = interfaces_.StoredConnectionName();
  while (!ConnectStored(name)) {
    std::optional<std::string> chosen = interfaces_.Choose(this);
    if (!chosen)
      return;  // the window works on without a reader
    name = *chosen;
  }
}

void CKX_M71_VantrelDlg::ChooseInterface() {
  CloseConnection();
  while (std::optional<std::string> chosen = interfaces_.Choose(this)) {
    if (ConnectStored(*chosen))
      return;
  }
}

void CKX_M71_VantrelDlg::OnOK() {
  // Closing takes the connection down under the waiting command.
  if (readerBusy_)
    return;
  Dialog::OnOK();
}

void CKX_M71_VantrelDlg::OnCancel() {
  if (readerBusy_)
    return;
  Dialog::OnCancel();
}

}  // namespace kx::app
