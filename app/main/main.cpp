// kx-vantrel: the desktop program for programming transponders through a KX reader.
#include <QApplication>

#include "alsa_beeper.h"
#include "framework/qt_prompt_service.h"
#include "framework/resources.h"
#include "framework/sdk_wait_hooks.h"
#include "framework/services.h"
#include "port_dialog_selection.h"
#include "program_directory.h"
#include "qt_settings_store.h"
#include "resources/builtin.h"
#include "vantrel_app.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  kx::ui::RegisterSdkWaitHooks();
  kx::ui::Resources resources(kx::res::BuiltInResources());
  kx::ui::QtPromptService prompts(resources);
  kx::app::QtSettingsStore store;
  kx::ui::Services dialogServices(resources, prompts);
  kx::app::PortDialogSelection interfaces(dialogServices, store);
  kx::app::AlsaBeeper beeper;
  kx::app::CKX_M71_VantrelApp app(resources, prompts, store, kx::app::GetProgramDirectory(),
                                  &interfaces, &beeper);
  // F1 in the interface dialog opens the manual, as in every other window.
  dialogServices.SetHelpHandler([&app](QWidget* parent) { app.WinHelp(parent); });
  app.InitInstance();
  kx::ui::UnregisterSdkWaitHooks();
  return 0;
}
