#include "vantrel_app.h"

#include <QGuiApplication>
#include <filesystem>

#include "framework/resources.h"
#include "log_directory.h"
#include "main_dialog.h"
#include "main_settings.h"
#include "manual.h"
#include "resources/ids.h"

namespace kx::app {

CKX_M71_VantrelApp::CKX_M71_VantrelApp(ui::Resources& resources, ui::PromptService& prompts,
                                       SettingsStore& store, const QString& programDirectory,
                                       InterfaceSelection* interfaces, Beeper* beeper,
                                       update::UpdateChecker* updates)
    : resources_(resources),
      store_(store),
      programDirectory_(programDirectory),
      interfaces_(interfaces),
      beeper_(beeper),
      updates_(updates),
      services_(resources, prompts) {
  services_.SetHelpHandler([this](QWidget* parent) { WinHelp(parent); });
}

bool CKX_M71_VantrelApp::InitInstance() {
  // One main window closes before the next one opens; the program must not end in between.
  QGuiApplication::setQuitOnLastWindowClosed(false);
  int code = kEndLanguageSwitch;
  while (code == kEndLanguageSwitch || code == ui::kIdOk) {
    if (code == kEndLanguageSwitch)
      ApplyLanguage();
    CKX_M71_VantrelDlg dialog(services_, store_, DefaultLogDirectory(programDirectory_),
                              interfaces_, beeper_, updates_);
    code = dialog.DoModal();
  }
  return false;
}

void CKX_M71_VantrelApp::ApplyLanguage() {
  if (ReadLanguage(store_) > 0) {
    resources_.UseLibrary(std::filesystem::path(programDirectory_.toStdString()) /
                          res::kEnglishLibraryFileName);
  } else {
    resources_.UseBuiltIn();
  }
}

void CKX_M71_VantrelApp::WinHelp(QWidget* parent) {
  OpenManual(services_, parent, programDirectory_);
}

}  // namespace kx::app
