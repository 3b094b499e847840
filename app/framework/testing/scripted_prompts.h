// A prompt service for tests: answers come from a script queued beforehand, nothing is shown or
// opened, and every request is kept for the test to read back.
#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <optional>
#include <vector>

#include "framework/prompt_service.h"

namespace kx::ui::testing {

class ScriptedPrompts : public PromptService {
 public:
  // Answers in the order the requests come. Without a queued answer a message box gets the
  // button that changes least (OK of an OK box, else Cancel or No), a file dialog is cancelled
  // and opening succeeds.
  void QueueAnswer(Answer answer) { answers_.push_back(answer); }
  void QueueFileName(std::optional<QString> fileName) { fileNames_.push_back(fileName); }
  void QueueOpenResult(OpenResult result) { openResults_.push_back(result); }

  Answer ShowMessage(QWidget* parent, const MessageRequest& request) override;
  std::optional<QString> AskFileName(QWidget* parent, const FileRequest& request) override;
  OpenResult Open(const QString& target) override;

  const std::vector<MessageRequest>& messages() const { return messages_; }
  QStringList MessageTexts() const;
  const std::vector<FileRequest>& fileRequests() const { return fileRequests_; }
  const QStringList& opened() const { return opened_; }
  // Whether every queued answer has been used.
  bool ScriptUsedUp() const;
  void Clear();

 private:
  std::deque<Answer> answers_;
  std::deque<std::optional<QString>> fileNames_;
  std::deque<OpenResult> openResults_;
  std::vector<MessageRequest> messages_;
  std::vector<FileRequest> fileRequests_;
  QStringList opened_;
};

}  // namespace kx::ui::testing
