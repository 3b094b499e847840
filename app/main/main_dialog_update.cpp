// The main window's part of the update check: the check at start-up, the About dialog when it
// finds a newer release or the operator asks for it, and the end of the application once an
// installer has been opened.
#include <QTimer>

#include "dialogs/about_dlg.h"
#include "main_dialog.h"
#include "main_settings.h"
#include "update/update_checker.h"

namespace kx::app {

namespace {

// A window of its own cannot open while a reader command waits inside the SDK; the request is
// tried again this much later.
constexpr int kRetryWhileBusyMs = 200;

}  // namespace

void CKX_M71_VantrelDlg::StartUpdateCheck() {
  if (updates_ == nullptr || ReadUpdateCheck(store_) == 0)
    return;
  updates_->StartUpdateCheck(dialogs::UpdateNotifier(*this));
}

void CKX_M71_VantrelDlg::OnUpdateCheckDone() {
  if (updates_ == nullptr || !updates_->IsUpdateAvailable())
    return;
  if (readerBusy_) {
    QTimer::singleShot(kRetryWhileBusyMs, this, [this] { OnUpdateCheckDone(); });
    return;
  }
  ShowAbout();
}

void CKX_M71_VantrelDlg::ShowAbout() {
  dialogs::CAboutDlg about(services(), store_, updates_, this);
  about.DoModal();
}

void CKX_M71_VantrelDlg::OnAppExit() {
  if (readerBusy_) {
    QTimer::singleShot(kRetryWhileBusyMs, this, [this] { OnAppExit(); });
    return;
  }
  OnCancel();
}

}  // namespace kx::app
