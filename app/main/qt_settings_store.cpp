#include "qt_settings_store.h"

#include "memory_settings_store.h"

namespace kx::app {

namespace {

QString Path(const QString& section, const QString& key) {
  return section + u'/' + key;
}

}  // namespace

QtSettingsStore::QtSettingsStore()
    : settings_(QSettings::NativeFormat, QSettings::UserScope,
                QString::fromUtf8(kSettingsOrganisation), QString::fromUtf8(kSettingsApplication)) {
}

QtSettingsStore::QtSettingsStore(const QString& iniFile)
    : settings_(iniFile, QSettings::IniFormat) {}

int QtSettingsStore::GetInt(const QString& section, const QString& key, int fallback) const {
  const QVariant value = settings_.value(Path(section, key));
  if (!value.isValid() || value.typeId() == QMetaType::QStringList)
    return fallback;
  // A hand-edited file may hold anything; what is no 32-bit number counts as absent.
  return StoredInt(value.toString()).value_or(fallback);
}

QString QtSettingsStore::GetString(const QString& section, const QString& key,
                                   const QString& fallback) const {
  const QVariant value = settings_.value(Path(section, key));
  if (!value.isValid())
    return fallback;
  // An unquoted text with commas in a hand-edited file reads as a list.
  if (value.typeId() == QMetaType::QStringList)
    return value.toStringList().join(QStringLiteral(", "));
  return value.toString();
}

void QtSettingsStore::SetInt(const QString& section, const QString& key, int value) {
  settings_.setValue(Path(section, key), value);
  settings_.sync();
}

void QtSettingsStore::SetString(const QString& section, const QString& key, const QString& value) {
  settings_.setValue(Path(section, key), value);
  settings_.sync();
}

}  // namespace kx::app
