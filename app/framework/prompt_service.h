// Everything that asks the operator or hands something to the desktop: message boxes, file
// dialogs, opening web pages, mail links and files. The program uses the Qt service; tests put a
// scripted one in its place that answers at once and records what was shown.
#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace kx::ui {

enum class Buttons { kOk, kOkCancel, kYesNo, kRetryCancel };
enum class Icon { kNone, kInformation, kExclamation, kQuestion, kError };
// The button the operator chose.
enum class Answer { kOk = 1, kCancel = 2, kRetry = 4, kYes = 6, kNo = 7 };

struct MessageRequest {
  QString text;
  QString caption;
  Buttons buttons = Buttons::kOk;
  Icon icon = Icon::kExclamation;
};

struct FileRequest {
  enum class Mode { kOpen, kSave };
  Mode mode = Mode::kOpen;
  QString title;        // empty: the desktop's own title
  QString initialPath;  // directory or file name to start with
  QString filter;       // "Textdateien (*.txt);;Alle Dateien (*)"
  QString defaultSuffix;
  QString acceptLabel;  // empty: the desktop's own button texts
  QString rejectLabel;
  // A file that is appended to, not replaced, needs no warning that it exists.
  bool confirmOverwrite = true;
};

enum class OpenResult {
  kOpened,
  kNotFound,  // a file that does not exist
  kFailed,    // the desktop found nothing to open it with
};

class PromptService {
 public:
  virtual ~PromptService() = default;

  virtual Answer ShowMessage(QWidget* parent, const MessageRequest& request) = 0;
  // The chosen file, or nullopt when the operator cancelled.
  virtual std::optional<QString> AskFileName(QWidget* parent, const FileRequest& request) = 0;
  // A web address ("https://…"), a mail link ("mailto:…") or a file path; does not wait for the
  // program that shows it.
  virtual OpenResult Open(const QString& target) = 0;
};

}  // namespace kx::ui
