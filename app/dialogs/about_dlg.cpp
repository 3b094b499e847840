#include "dialogs/about_dlg.h"

#include <QFontInfo>

#include "framework/message_target.h"
#include "framework/wait_cursor.h"
#include "main/main_settings.h"
#include "main/settings_store.h"
#include "resources/about_dialog_ids.h"
#include "resources/ids.h"
#include "update/update_checker.h"

namespace kx::dialogs {

namespace {

namespace id = res::about_dialog;
namespace str = res::str;

const QColor kLinkColour(0, 0, 255);
const QColor kGrey(128, 128, 128);
const QColor kProblemColour(255, 0, 0);
const QColor kNewVersionColour(192, 0, 0);

constexpr uint64_t kKiB = 1024;

QString FromFile(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString PathText(const std::filesystem::path& path) {
  return QString::fromStdString(path.string());
}

int ProblemText(update::InstallerProblem problem) {
  switch (problem) {
    case update::InstallerProblem::kNotSigned:
      return str::kUpdateNotSigned;
    case update::InstallerProblem::kDigestMismatch:
      return str::kUpdateDigestWrong;
    case update::InstallerProblem::kSignatureInvalid:
      return str::kUpdateSignatureWrong;
    case update::InstallerProblem::kUnsafeName:
      return str::kUpdateUnsafeName;
    case update::InstallerProblem::kNone:
    case update::InstallerProblem::kNoAddress:
    case update::InstallerProblem::kDownloadFailed:
      break;
  }
  return 0;
}

}  // namespace

update::PostToWindow UpdateNotifier(const ui::Dialog& dialog) {
  return [target = dialog.Target()](int message, intptr_t first, intptr_t second) {
    return target != nullptr && target->Post(message, first, second);
  };
}

CAboutDlg::CAboutDlg(ui::Services& services, app::SettingsStore& store,
                     update::UpdateChecker* checker, QWidget* parent)
    : Dialog(services, id::kDialog, parent),
      store_(store),
      checker_(checker),
      updateCheck_(store.GetInt(app::section::kVersion, app::key::kUpdateCheck, 1) != 0 ? 1 : 0) {
  BindClicked(id::kStatus, [this] { OnStatusClicked(); });
}

bool CAboutDlg::OnInitDialog() {
  Dialog::OnInitDialog();
  QFont underlined = font();
  underlined.setUnderline(true);
  for (const auto& [label, labelId] :
       {std::pair{&mailLink_, id::kMailLink}, std::pair{&webLink_, id::kWebLink}}) {
    label->Attach(*this, labelId);
    label->SetLogFont(underlined);
    label->SetNotify(true);
    label->SetTextColour(kLinkColour);
    label->SetHoverCursor(Qt::PointingHandCursor);
  }
  status_.Attach(*this, id::kStatus);
  status_.SetFaceName(font().family());
  status_.SetFontHeight(QFontInfo(font()).pixelSize());
  status_.SetItalic(true);
  status_.SetTextColour(kGrey);
  logo_.Attach(*this, id::kLogo);
  logo_.SetTransparent(true);

  QString product = ItemText(id::kProductLine);
  if (checker_ != nullptr) {
    product += u' ' + FromFile(checker_->installed().version) + QStringLiteral(" (") +
               FromFile(checker_->installed().build) + u')';
  }
  SetItemText(id::kProductLine, product);

  if (checker_ != nullptr) {
    // A check that has finished in this run answers at once; none fetches twice.
    checker_->StartUpdateCheck(UpdateNotifier(*this));
  } else {
    OnUpdateState();
  }
  return true;
}

void CAboutDlg::DoDataExchange(ui::DataExchange& dx) {
  dx.Check(id::kAutoCheck, updateCheck_);
}

bool CAboutDlg::OnMessage(int message, intptr_t first, intptr_t second) {
  if (message != update::kUpdateStateMessage || first != update::kNotifyId || second != 0)
    return false;
  OnUpdateState();
  return true;
}

void CAboutDlg::OnUpdateState() {
  const QString title = LoadString(str::kAppTitle);
  std::string version;
  std::string build;
  if (checker_ == nullptr || !checker_->ReadLatestVersion(version, build)) {
    ShowState(LoadString(str::kUpdateNoConnection), kProblemColour, false);
  } else if (version.empty() || build.empty()) {
    ShowState(LoadString(str::kUpdateNoVersionFile), kProblemColour, false);
  } else if (checker_->IsUpdateAvailable()) {
    ShowState(LoadString(str::kUpdateNewVersion) + title + QStringLiteral(" V ") +
                  FromFile(version) + QStringLiteral(" (") + FromFile(build) + u')',
              kNewVersionColour, true);
  } else {
    ShowState(title + LoadString(str::kUpdateIsCurrent), kGrey, false);
  }
}

void CAboutDlg::ShowState(const QString& text, const QColor& colour, bool clickable) {
  status_.SetTextColour(colour);
  status_.SetHoverCursor(clickable ? std::optional(Qt::PointingHandCursor) : std::nullopt);
  status_.SetNotify(clickable);
  status_.SetLabelText(text);
}

void CAboutDlg::OnStatusClicked() {
  if (checker_ == nullptr)
    return;
  const QString previous = status_.text();
  status_.SetLabelText(LoadString(str::kUpdateStarting));
  repaint();
  uint64_t shownKiB = 0;
  const update::InstallerDownload download =
      checker_->DownloadInstaller([this, &shownKiB](uint64_t received, uint64_t total) {
        // A new text for every percent (or 256 kB while the size is unknown) is enough.
        const uint64_t step = total != 0 ? std::max<uint64_t>(total / 100, 1) : 256 * kKiB;
        if (received / step == shownKiB / step && shownKiB != 0)
          return;
        shownKiB = std::max<uint64_t>(received, 1);
        const QString receivedText = QString::number(received / kKiB);
        status_.SetLabelText(
            total != 0 ? services().FormatString(str::kUpdateProgress,
                                                 {receivedText, QString::number(total / kKiB)})
                       : services().FormatString(str::kUpdateProgressUnknownSize, {receivedText}));
      });
  if (download.problem == update::InstallerProblem::kNone) {
    StartInstaller(download.path);
    if (auto* owner = qobject_cast<ui::Dialog*>(parentWidget()))
      owner->PostMessage(ui::msg::kCommand,
                         ui::CommandParam(ui::cmd::kAppExit, ui::Notification::kClicked));
    OnCancel();
    return;
  }
  const int problem = ProblemText(download.problem);
  if (problem == 0) {
    // No installer named, or its download failed: the line offers the release again.
    status_.SetLabelText(previous);
    return;
  }
  ShowState(LoadString(problem), kProblemColour, false);
  MessageBox(LoadString(problem));
}

bool CAboutDlg::StartInstaller(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::exists(path, error)) {
    MessageBox(services().FormatString(str::kInstallerMissing, {PathText(path)}));
    return false;
  }
  ui::WaitCursor wait;
  const ui::OpenResult opened = services().Open(PathText(path));
  if (opened == ui::OpenResult::kOpened)
    return true;
  wait.Restore();
  MessageBox(services().FormatString(
      opened == ui::OpenResult::kNotFound ? str::kInstallerMissing : str::kInstallerNotStarted,
      {PathText(path)}));
  return false;
}

void CAboutDlg::StoreUpdateCheck() {
  updateCheck_ = IsChecked(id::kAutoCheck);
  store_.SetInt(app::section::kVersion, app::key::kUpdateCheck, updateCheck_);
}

void CAboutDlg::OnOK() {
  StoreUpdateCheck();
  EndDialog(ui::kIdOk);
}

void CAboutDlg::OnCancel() {
  StoreUpdateCheck();
  EndDialog(ui::kIdCancel);
}

}  // namespace kx::dialogs
