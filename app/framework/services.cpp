#include "framework/services.h"

#include <utility>

#include "framework/framework_strings.h"
#include "framework/resources.h"
#include "framework/text_format.h"

namespace kx::ui {

Services::Services(Resources& resources, PromptService& prompts)
    : resources_(resources), prompts_(prompts) {}

QString Services::LoadString(int id) const {
  return resources_.LoadString(id);
}

QString Services::FormatString(int id, const QStringList& arguments) const {
  return FormatText(resources_.LoadString(id), arguments);
}

Answer Services::MessageBox(QWidget* parent, const QString& text, Buttons buttons,
                            Icon icon) const {
  return prompts_.ShowMessage(parent, {text, LoadString(strings::kAppTitle), buttons, icon});
}

std::optional<QString> Services::AskFileName(QWidget* parent, const FileRequest& request) const {
  return prompts_.AskFileName(parent, request);
}

OpenResult Services::Open(const QString& target) const {
  return prompts_.Open(target);
}

void Services::SetHelpHandler(std::function<void(QWidget*)> handler) {
  help_ = std::move(handler);
}

void Services::ShowHelp(QWidget* parent) const {
  if (help_)
    help_(parent);
}

}  // namespace kx::ui
