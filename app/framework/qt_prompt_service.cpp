#include "framework/qt_prompt_service.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QUrl>
#include <utility>
#include <vector>

#include "framework/framework_strings.h"
#include "framework/resources.h"

namespace kx::ui {

namespace {

QMessageBox::Icon BoxIcon(Icon icon) {
  switch (icon) {
    case Icon::kNone:
      return QMessageBox::NoIcon;
    case Icon::kInformation:
      return QMessageBox::Information;
    case Icon::kExclamation:
      return QMessageBox::Warning;
    case Icon::kQuestion:
      return QMessageBox::Question;
    case Icon::kError:
      return QMessageBox::Critical;
  }
  return QMessageBox::NoIcon;
}

struct BoxButton {
  Answer answer;
  int textId;
  QMessageBox::ButtonRole role;
};

std::vector<BoxButton> ButtonsOf(Buttons buttons) {
  using strings::kButtonCancel, strings::kButtonNo, strings::kButtonOk, strings::kButtonRetry,
      strings::kButtonYes;
  switch (buttons) {
    case Buttons::kOk:
      return {{Answer::kOk, kButtonOk, QMessageBox::AcceptRole}};
    case Buttons::kOkCancel:
      return {{Answer::kOk, kButtonOk, QMessageBox::AcceptRole},
              {Answer::kCancel, kButtonCancel, QMessageBox::RejectRole}};
    case Buttons::kYesNo:
      return {{Answer::kYes, kButtonYes, QMessageBox::YesRole},
              {Answer::kNo, kButtonNo, QMessageBox::NoRole}};
    case Buttons::kRetryCancel:
      return {{Answer::kRetry, kButtonRetry, QMessageBox::AcceptRole},
              {Answer::kCancel, kButtonCancel, QMessageBox::RejectRole}};
  }
  return {};
}

// "https://…", "mailto:…", "file:…"; a path (even "C:/…") is no address.
bool IsAddress(const QString& target) {
  static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
  return scheme.match(target).hasMatch();
}

}  // namespace

QtPromptService::QtPromptService(const Resources& resources) : resources_(resources) {}

Answer QtPromptService::ShowMessage(QWidget* parent, const MessageRequest& request) {
  QMessageBox box(BoxIcon(request.icon), request.caption, request.text, QMessageBox::NoButton,
                  parent);
  std::vector<std::pair<QAbstractButton*, Answer>> answers;
  for (const BoxButton& button : ButtonsOf(request.buttons)) {
    answers.emplace_back(box.addButton(resources_.LoadString(button.textId), button.role),
                         button.answer);
  }
  box.setDefaultButton(static_cast<QPushButton*>(answers.front().first));
  box.exec();
  for (const auto& [button, answer] : answers) {
    if (box.clickedButton() == button)
      return answer;
  }
  // Closed without a button: the last button is the one that backs out.
  return answers.back().second;
}

std::optional<QString> QtPromptService::AskFileName(QWidget* parent, const FileRequest& request) {
  QFileDialog dialog(parent, request.title, QString(), request.filter);
  const bool save = request.mode == FileRequest::Mode::kSave;
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(request.defaultSuffix);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
  if (!request.acceptLabel.isEmpty())
    dialog.setLabelText(QFileDialog::Accept, request.acceptLabel);
  if (!request.rejectLabel.isEmpty())
    dialog.setLabelText(QFileDialog::Reject, request.rejectLabel);
  const QFileInfo initial(request.initialPath);
  if (!request.initialPath.isEmpty() && initial.isDir()) {
    dialog.setDirectory(initial.absoluteFilePath());
  } else if (!request.initialPath.isEmpty()) {
    dialog.setDirectory(initial.absolutePath());
    dialog.selectFile(initial.fileName());
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return std::nullopt;
  return dialog.selectedFiles().constFirst();
}

OpenResult QtPromptService::Open(const QString& target) {
  QUrl url;
  if (IsAddress(target)) {
    url = QUrl(target);
    if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile()))
      return OpenResult::kNotFound;
  } else {
    if (!QFileInfo::exists(target))
      return OpenResult::kNotFound;
    url = QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath());
  }
  return QDesktopServices::openUrl(url) ? OpenResult::kOpened : OpenResult::kFailed;
}

}  // namespace kx::ui
