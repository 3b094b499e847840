#include "framework/testing/scripted_prompts.h"

namespace kx::ui::testing {

namespace {

Answer LeastChange(Buttons buttons) {
  switch (buttons) {
    case Buttons::kOk:
      return Answer::kOk;
    case Buttons::kYesNo:
      return Answer::kNo;
    case Buttons::kOkCancel:
    case Buttons::kRetryCancel:
      return Answer::kCancel;
  }
  return Answer::kCancel;
}

template <typename T>
std::optional<T> Next(std::deque<T>& queue) {
  if (queue.empty())
    return std::nullopt;
  T front = queue.front();
  queue.pop_front();
  return front;
}

}  // namespace

Answer ScriptedPrompts::ShowMessage(QWidget*, const MessageRequest& request) {
  messages_.push_back(request);
  return Next(answers_).value_or(LeastChange(request.buttons));
}

std::optional<QString> ScriptedPrompts::AskFileName(QWidget*, const FileRequest& request) {
  fileRequests_.push_back(request);
  return Next(fileNames_).value_or(std::nullopt);
}

OpenResult ScriptedPrompts::Open(const QString& target) {
  opened_.append(target);
  return Next(openResults_).value_or(OpenResult::kOpened);
}

QStringList ScriptedPrompts::MessageTexts() const {
  QStringList texts;
  for (const MessageRequest& request : messages_)
    texts.append(request.text);
  return texts;
}

bool ScriptedPrompts::ScriptUsedUp() const {
  return answers_.empty() && fileNames_.empty() && openResults_.empty();
}

void ScriptedPrompts::Clear() {
  answers_.clear();
  fileNames_.clear();
  openResults_.clear();
  messages_.clear();
  fileRequests_.clear();
  opened_.clear();
}

}  // namespace kx::ui::testing
