// The application: where the settings are kept, the language of the user interface, the main
// window shown again after each language switch, and the manual on F1.
#pragma once

#include <QString>

#include "framework/services.h"

class QWidget;

namespace kx::ui {
class PromptService;
class Resources;
}  // namespace kx::ui

namespace kx::update {
class UpdateChecker;
}

namespace kx::app {

class Beeper;
class InterfaceSelection;
class SettingsStore;

class CKX_M71_VantrelApp {
 public:
  // programDirectory (GetProgramDirectory) holds the English resource library and the manual,
  // and the default logs when the program may write there (DefaultLogDirectory).
  // interfaces, beeper and the update check go to every main window (null: the window's own
  // defaults; no update check).
  CKX_M71_VantrelApp(ui::Resources& resources, ui::PromptService& prompts, SettingsStore& store,
                     const QString& programDirectory, InterfaceSelection* interfaces = nullptr,
                     Beeper* beeper = nullptr, update::UpdateChecker* updates = nullptr);
  CKX_M71_VantrelApp(const CKX_M71_VantrelApp&) = delete;
  CKX_M71_VantrelApp& operator=(const CKX_M71_VantrelApp&) = delete;

  // Shows main windows one after another: again after a language switch (its language applied
  // first) and after Enter; "Schliessen" and any window that cannot be shown end the loop.
  // Returns false: the program ends afterwards.
  bool InitInstance();
  // English from the library beside the program when "Sprache" is above 0, else German. A
  // library that does not load leaves the language in use.
  void ApplyLanguage();
  // F1: opens the manual.
  void WinHelp(QWidget* parent);

  ui::Services& services() { return services_; }

 private:
  ui::Resources& resources_;
  SettingsStore& store_;
  const QString programDirectory_;
  InterfaceSelection* interfaces_;
  Beeper* beeper_;
  update::UpdateChecker* updates_;
  ui::Services services_;
};

}  // namespace kx::app
