// The About dialog "Info über KX-M71 Vantrel" (template 100): the product with its installed
// version and build, the maker's address, web and mail links and logo, and the state of the
// update check. In its new-version state the status line fetches the installer, has it checked
// and opened by the desktop, and ends the application. The check box switches the check at
// start-up; OK and the close box both store it.
#pragma once

#include <filesystem>

#include "framework/bitmap_static.h"
#include "framework/dialog.h"
#include "framework/label.h"
#include "update/update_checker.h"

namespace kx::app {
class SettingsStore;
}

namespace kx::dialogs {

// Where the update check announces its result to the dialog's current window.
update::PostToWindow UpdateNotifier(const ui::Dialog& dialog);

class CAboutDlg : public ui::Dialog {
  Q_OBJECT

 public:
  // Without a checker the status line says there is no connection. parent, when it is a dialog,
  // is told to end the application once an installer has been opened.
  CAboutDlg(ui::Services& services, app::SettingsStore& store, update::UpdateChecker* checker,
            QWidget* parent = nullptr);

  int updateCheckSwitch() const { return updateCheck_; }
  const ui::CLabel& status() const { return status_; }

 protected:
  bool OnInitDialog() override;
  void DoDataExchange(ui::DataExchange& dx) override;
  bool OnMessage(int message, intptr_t first, intptr_t second) override;
  void OnOK() override;
  void OnCancel() override;

 private:
  void OnUpdateState();
  void OnStatusClicked();
  // Hands the verified installer to the desktop; a failure is shown in a message box.
  bool StartInstaller(const std::filesystem::path& path);
  void ShowState(const QString& text, const QColor& colour, bool clickable);
  void StoreUpdateCheck();

  app::SettingsStore& store_;
  update::UpdateChecker* checker_;
  ui::CBitmapStatic logo_;
  ui::CLabel mailLink_;
  ui::CLabel webLink_;
  ui::CLabel status_;
  int updateCheck_ = 1;
};

}  // namespace kx::dialogs
