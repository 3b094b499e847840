// How the main window learns which interface to connect through: the stored interface first, and
// the interface dialog whenever that fails or the operator asks for another one.
#pragma once

#include <optional>
#include <string>

class QWidget;

namespace kx::app {

class SettingsStore;

class InterfaceSelection {
 public:
  virtual ~InterfaceSelection() = default;

  // The connection name of the stored interface, as the interface dialog would build it.
  virtual std::string StoredConnectionName() = 0;
  // Shows the interface dialog modally over parent. The connection name of the operator's choice
  // (stored for the next start), or nullopt when the operator cancelled.
  virtual std::optional<std::string> Choose(QWidget* parent) = 0;
};

// The stored interface only: every request to choose another one counts as cancelled.
class StoredInterfaceOnly : public InterfaceSelection {
 public:
  explicit StoredInterfaceOnly(const SettingsStore& store) : store_(store) {}

  // "Port"/"Name"; "COM1" when none is stored.
  std::string StoredConnectionName() override;
  std::optional<std::string> Choose(QWidget*) override { return std::nullopt; }

 private:
  const SettingsStore& store_;
};

}  // namespace kx::app
