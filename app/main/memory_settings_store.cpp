#include "memory_settings_store.h"

namespace kx::app {

std::optional<int> StoredInt(const QString& text) {
  bool ok = false;
  const int value = text.trimmed().toInt(&ok);
  return ok ? std::optional<int>(value) : std::nullopt;
}

int MemorySettingsStore::GetInt(const QString& section, const QString& key, int fallback) const {
  const std::optional<QString> raw = Raw(section, key);
  return raw ? StoredInt(*raw).value_or(fallback) : fallback;
}

QString MemorySettingsStore::GetString(const QString& section, const QString& key,
                                       const QString& fallback) const {
  return Raw(section, key).value_or(fallback);
}

void MemorySettingsStore::SetInt(const QString& section, const QString& key, int value) {
  values_[{section, key}] = QString::number(value);
}

void MemorySettingsStore::SetString(const QString& section, const QString& key,
                                    const QString& value) {
  values_[{section, key}] = value;
}

std::optional<QString> MemorySettingsStore::Raw(const QString& section, const QString& key) const {
  const auto found = values_.find({section, key});
  if (found == values_.end())
    return std::nullopt;
  return found->second;
}

void MemorySettingsStore::Remove(const QString& section, const QString& key) {
  values_.erase({section, key});
}

}  // namespace kx::app
