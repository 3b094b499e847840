// The settings dialog "Einstellungen" (template 151): how long the beep after a successful write
// sounds (0 switches it off) and the period of cyclic reading and writing. Both live in the
// settings section "Settings"; only OK writes them, and the caller reads them again afterwards.
#pragma once

#include <cstdint>

#include "framework/dialog.h"

namespace kx::app {
class SettingsStore;
}

namespace kx::dialogs {

// What the dialog shows for a key that is absent; it never writes these back on its own.
inline constexpr uint32_t kDefaultBeepTimeMs = 150;
inline constexpr uint32_t kDefaultCycleTimeMs = 250;

inline constexpr uint32_t kLowestBeepTimeMs = 0;
inline constexpr uint32_t kHighestBeepTimeMs = 1000;
inline constexpr uint32_t kLowestCycleTimeMs = 100;
inline constexpr uint32_t kHighestCycleTimeMs = 10000;

class CBeepTimeDlg : public ui::Dialog {
  Q_OBJECT

 public:
  CBeepTimeDlg(ui::Services& services, app::SettingsStore& store, QWidget* parent = nullptr);

  // The values of the last start or of the last successful OK.
  uint32_t beepTimeMs() const { return beepTimeMs_; }
  uint32_t cycleTimeMs() const { return cycleTimeMs_; }

 protected:
  bool OnInitDialog() override;
  void DoDataExchange(ui::DataExchange& dx) override;
  void OnOK() override;

 private:
  uint32_t ReadSetting(const char* key, uint32_t fallback) const;

  app::SettingsStore& store_;
  uint32_t beepTimeMs_ = kDefaultBeepTimeMs;
  uint32_t cycleTimeMs_ = kDefaultCycleTimeMs;
};

}  // namespace kx::dialogs
