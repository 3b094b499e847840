// The program's interface selection: the interface dialog decides both which interface is
// stored and which one the operator chooses.
#pragma once

#include "interface_selection.h"

namespace kx::ui {
class Services;
}

namespace kx::app {

class PortDialogSelection : public InterfaceSelection {
 public:
  PortDialogSelection(ui::Services& services, SettingsStore& store)
      : services_(services), store_(store) {}

  // The dialog's connection name, device address included, as the stored settings give it.
  std::string StoredConnectionName() override;
  std::optional<std::string> Choose(QWidget* parent) override;

 private:
  ui::Services& services_;
  SettingsStore& store_;
};

}  // namespace kx::app
