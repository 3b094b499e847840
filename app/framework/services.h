// The services that every dialog of the program uses, handed to it at construction: resources
// in the current language, the prompt service, and the help that F1 asks for.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "framework/prompt_service.h"

class QWidget;

namespace kx::ui {

class Resources;

class Services {
 public:
  Services(Resources& resources, PromptService& prompts);

  Resources& resources() const { return resources_; }
  PromptService& prompts() const { return prompts_; }

  QString LoadString(int id) const;
  // The string with its "%1" … "%9" replaced (FormatText).
  QString FormatString(int id, const QStringList& arguments) const;

  // A message box with the application title as its caption.
  Answer MessageBox(QWidget* parent, const QString& text, Buttons buttons = Buttons::kOk,
                    Icon icon = Icon::kExclamation) const;
  std::optional<QString> AskFileName(QWidget* parent, const FileRequest& request) const;
  OpenResult Open(const QString& target) const;

  // What F1 does in any dialog; nothing until the application sets it.
  void SetHelpHandler(std::function<void(QWidget* parent)> handler);
  void ShowHelp(QWidget* parent) const;

 private:
  Resources& resources_;
  PromptService& prompts_;
  std::function<void(QWidget*)> help_;
};

}  // namespace kx::ui
