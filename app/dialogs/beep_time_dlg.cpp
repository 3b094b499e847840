#include "dialogs/beep_time_dlg.h"

#include "main/main_settings.h"
#include "main/settings_store.h"
#include "resources/beep_time_dialog_ids.h"

namespace kx::dialogs {

namespace {

namespace id = res::beep_time_dialog;

}  // namespace

CBeepTimeDlg::CBeepTimeDlg(ui::Services& services, app::SettingsStore& store, QWidget* parent)
    : Dialog(services, id::kDialog, parent), store_(store) {}

// Read at every start rather than at construction, so that a dialog shown again sees what the
// main window or another run stored in between.
bool CBeepTimeDlg::OnInitDialog() {
  cycleTimeMs_ = ReadSetting(app::key::kCycleTime, kDefaultCycleTimeMs);
  beepTimeMs_ = ReadSetting(app::key::kBeepTime, kDefaultBeepTimeMs);
  return Dialog::OnInitDialog();
}

// A negative stored number has no meaning as a duration; it would otherwise show as a
// ten-digit value close to 2^32.
uint32_t CBeepTimeDlg::ReadSetting(const char* key, uint32_t fallback) const {
  const int stored = store_.GetInt(app::section::kSettings, key, static_cast<int>(fallback));
  return stored < 0 ? fallback : static_cast<uint32_t>(stored);
}

void CBeepTimeDlg::DoDataExchange(ui::DataExchange& dx) {
  dx.Text(id::kBeepTime, beepTimeMs_);
  dx.MinMax(beepTimeMs_, kLowestBeepTimeMs, kHighestBeepTimeMs);
  dx.Text(id::kCycleTime, cycleTimeMs_);
  dx.MinMax(cycleTimeMs_, kLowestCycleTimeMs, kHighestCycleTimeMs);
}

void CBeepTimeDlg::OnOK() {
  if (!UpdateData(true))
    return;
  const QString section = app::section::kSettings;
  store_.SetInt(section, app::key::kCycleTime, static_cast<int>(cycleTimeMs_));
  store_.SetInt(section, app::key::kBeepTime, static_cast<int>(beepTimeMs_));
  EndDialog(ui::kIdOk);
}

}  // namespace kx::dialogs
