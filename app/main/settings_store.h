// The program's persisted settings: integers and texts by section and key. The program keeps them
// in the per-user store of the desktop (QtSettingsStore); tests use MemorySettingsStore.
#pragma once

#include <QString>

namespace kx::app {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  // fallback when the key is absent or holds no 32-bit whole number.
  virtual int GetInt(const QString& section, const QString& key, int fallback) const = 0;
  // fallback when the key is absent.
  virtual QString GetString(const QString& section, const QString& key,
                            const QString& fallback) const = 0;
  // Written at once, so that nothing is lost when the program ends abruptly.
  virtual void SetInt(const QString& section, const QString& key, int value) = 0;
  virtual void SetString(const QString& section, const QString& key, const QString& value) = 0;
};

}  // namespace kx::app
