// The program's settings store: QSettings of the organisation and application below (on Linux
// "$XDG_CONFIG_HOME/Orv Applikationen/KX-M71 Vantrel.conf"). A section is a group of keys.
#pragma once

#include <QSettings>
#include <QString>

#include "settings_store.h"

namespace kx::app {

inline constexpr char kSettingsOrganisation[] = "Orv Applikationen";
inline constexpr char kSettingsApplication[] = "KX-M71 Vantrel";

class QtSettingsStore : public SettingsStore {
 public:
  QtSettingsStore();
  // A settings file of its own, for tests.
  explicit QtSettingsStore(const QString& iniFile);

  int GetInt(const QString& section, const QString& key, int fallback) const override;
  QString GetString(const QString& section, const QString& key,
                    const QString& fallback) const override;
  void SetInt(const QString& section, const QString& key, int value) override;
  void SetString(const QString& section, const QString& key, const QString& value) override;

  QString FileName() const { return settings_.fileName(); }

 private:
  mutable QSettings settings_;
};

}  // namespace kx::app
