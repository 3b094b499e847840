// kx-vantrel: the desktop program for programming transponders through a KX reader.
#include <QApplication>
#include <cstdio>

#include "alsa_beeper.h"
#include "command_line.h"
#include "framework/qt_prompt_service.h"
#include "framework/resources.h"
#include "framework/sdk_wait_hooks.h"
#include "framework/services.h"
#include "port_dialog_selection.h"
#include "program_directory.h"
#include "qt_settings_store.h"
#include "resources/builtin.h"
#include "update/update_checker.h"
#include "vantrel_app.h"

int main(int argc, char** argv) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i)
    arguments << QString::fromLocal8Bit(argv[i]);
  // Help and version need no display.
  const kx::app::StartRequest request = kx::app::ReadStartRequest(arguments);
  if (request == kx::app::StartRequest::kHelp || request == kx::app::StartRequest::kVersion) {
    const std::string text =
        request == kx::app::StartRequest::kHelp ? kx::app::HelpText() : kx::app::VersionText();
    std::fputs(text.c_str(), stdout);
    return 0;
  }

  QApplication application(argc, argv);
  kx::ui::Resources resources(kx::res::BuiltInResources());
  kx::app::QtSettingsStore store;
  if (request == kx::app::StartRequest::kFiles) {
    std::string report;
    const int code =
        kx::app::ReportFiles({kx::app::GetProgramDirectory(), store.FileName()}, resources, report);
    std::fputs(report.c_str(), stdout);
    return code;
  }

  kx::ui::RegisterSdkWaitHooks();
  kx::ui::QtPromptService prompts(resources);
  kx::ui::Services dialogServices(resources, prompts);
  kx::app::PortDialogSelection interfaces(dialogServices, store);
  kx::app::AlsaBeeper beeper;
  // Its end aborts a fetch that still runs instead of waiting for it.
  kx::update::UpdateChecker updates(kx::update::DefaultUpdateSource(),
                                    kx::update::RunningRelease());
  kx::app::CKX_M71_VantrelApp app(resources, prompts, store, kx::app::GetProgramDirectory(),
                                  &interfaces, &beeper, &updates);
  // F1 in the interface dialog opens the manual, as in every other window.
  dialogServices.SetHelpHandler([&app](QWidget* parent) { app.WinHelp(parent); });
  app.InitInstance();
  kx::ui::UnregisterSdkWaitHooks();
  return 0;
}
