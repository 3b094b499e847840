// The program's prompt service: Qt message boxes and file dialogs, the desktop's opener
// (xdg-open) for addresses and files.
#pragma once

#include "framework/prompt_service.h"

namespace kx::ui {

class Resources;

class QtPromptService : public PromptService {
 public:
  // Button texts come from the resources, in the language in use when the box opens.
  explicit QtPromptService(const Resources& resources);

  Answer ShowMessage(QWidget* parent, const MessageRequest& request) override;
  std::optional<QString> AskFileName(QWidget* parent, const FileRequest& request) override;
  OpenResult Open(const QString& target) override;

 private:
  const Resources& resources_;
};

}  // namespace kx::ui
