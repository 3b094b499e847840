#include "dialogs/hdx_plus_config_dlg.h"

#include "flows/hdx_plus_config.h"
#include "resources/hdx_plus_config_dialog_ids.h"

namespace kx::dialogs {

namespace {
namespace id = res::hdx_plus_config_dialog;
}  // namespace

CHDXPlusConfigDlg::CHDXPlusConfigDlg(ui::Services& services, int connection, QWidget* parent)
    : Dialog(services, id::kDialog, parent), connection_(connection) {
  BindClicked(id::kRead, [this] { OnLesen(); });
  BindClicked(id::kWrite, [this] { OnSchreiben(); });
}

void CHDXPlusConfigDlg::DoDataExchange(ui::DataExchange& dx) {
  dx.Text(id::kLifeCycle, lifeCycle_);
  dx.MinMax(lifeCycle_, 0, flows::kHighestLifeCycle);
  dx.Radio(id::kLowQ, qFactor_);
  dx.Radio(id::kDischargeOff, discharge_);
  dx.Text(id::kRfu, rfu_);
}

void CHDXPlusConfigDlg::OnLesen() {
  const std::optional<uint8_t> byte = flows::ReadHdxPlusConfig(connection_);
  if (!byte) {
    MessageBox(LoadString(id::kReadFailed));
    return;
  }
  const flows::HdxPlusConfig config = flows::DecodeHdxPlusConfig(*byte);
  lifeCycle_ = config.lifeCycle;
  qFactor_ = config.qFactor;
  discharge_ = config.discharge;
  rfu_ = config.rfu;
  UpdateData(false);
}

// RFU values above 7 are not refused: only their lowest three bits are written.
void CHDXPlusConfigDlg::OnSchreiben() {
  if (!UpdateData(true))
    return;
  const uint8_t byte =
      flows::EncodeHdxPlusConfig(flows::HdxPlusConfig{lifeCycle_, qFactor_, discharge_, rfu_});
  if (!flows::WriteHdxPlusConfig(connection_, byte))
    MessageBox(LoadString(id::kWriteFailed));
}

}  // namespace kx::dialogs
