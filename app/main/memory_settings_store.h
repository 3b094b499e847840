// Settings held in memory, for tests: a value may be any text, so that a test can store what a
// hand-edited settings file could hold.
#pragma once

#include <QString>
#include <map>
#include <optional>
#include <utility>

#include "settings_store.h"

namespace kx::app {

class MemorySettingsStore : public SettingsStore {
 public:
  int GetInt(const QString& section, const QString& key, int fallback) const override;
  QString GetString(const QString& section, const QString& key,
                    const QString& fallback) const override;
  void SetInt(const QString& section, const QString& key, int value) override;
  void SetString(const QString& section, const QString& key, const QString& value) override;

  // The raw value, nullopt when absent.
  std::optional<QString> Raw(const QString& section, const QString& key) const;
  bool Contains(const QString& section, const QString& key) const {
    return Raw(section, key).has_value();
  }
  void Remove(const QString& section, const QString& key);
  size_t size() const { return values_.size(); }

 private:
  std::map<std::pair<QString, QString>, QString> values_;
};

// The text as a 32-bit whole number (blanks around it allowed); nullopt for anything else.
std::optional<int> StoredInt(const QString& text);

}  // namespace kx::app
