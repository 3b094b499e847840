#include "interface_selection.h"

#include "main_settings.h"
#include "settings_store.h"

namespace kx::app {

std::string StoredInterfaceOnly::StoredConnectionName() {
  const QString name = store_.GetString(section::kPort, key::kPortName, QString());
  return name.isEmpty() ? std::string(kDefaultPortName) : name.toStdString();
}

}  // namespace kx::app
