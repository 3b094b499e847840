#include "port_dialog_selection.h"

#include "dialogs/port_dlg.h"
#include "framework/dialog.h"

namespace kx::app {

std::string PortDialogSelection::StoredConnectionName() {
  dialogs::CPortDlg dialog(services_, store_);
  return dialog.GetConnectionName().toStdString();
}

std::optional<std::string> PortDialogSelection::Choose(QWidget* parent) {
  dialogs::CPortDlg dialog(services_, store_, parent);
  if (dialog.DoModal() != ui::kIdOk)
    return std::nullopt;
  return dialog.GetConnectionName().toStdString();
}

}  // namespace kx::app
