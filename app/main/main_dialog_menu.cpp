// The main window's command menu: the chip tool item that follows the transponder type and
// opens its tool, the settings dialog and the language switch.
#include "dialogs/beep_time_dlg.h"
#include "dialogs/hdx_plus_config_dlg.h"
#include "dialogs/tuning_dlg.h"
#include "framework/system_menu.h"
#include "main_dialog.h"
#include "reader_command.h"
#include "resources/ids.h"
#include "settings_store.h"

namespace kx::app {

namespace {

using namespace res::main_window;
namespace str = res::str;

constexpr int kTiHdxPlus = 3;
constexpr int kSic7999 = 6;
constexpr int kGerman = 0;
constexpr int kEnglish = 1;

}  // namespace

void CKX_M71_VantrelDlg::BuildSystemMenu() {
  const QString about = LoadString(str::kMenuAbout);
  if (about.isEmpty())
    return;
  ui::SystemMenu& menu = GetSystemMenu();
  menu.AppendSeparator();
  menu.Append(kCmdSettings, LoadString(str::kMenuSettings));
  menu.Append(kCmdInterface, LoadString(str::kMenuInterface));
  menu.Append(kCmdChipTool, LoadString(str::kMenuTuningSic7999));
  menu.AppendSeparator();
  // Only the language not in use is offered; an unknown setting offers both.
  const int language = ReadLanguage(store_);
  if (language != kGerman)
    menu.Append(kCmdGerman, LoadString(str::kMenuGerman));
  if (language != kEnglish)
    menu.Append(kCmdEnglish, LoadString(str::kMenuEnglish));
  menu.AppendSeparator();
  menu.Append(kCmdAbout, about);
}

void CKX_M71_VantrelDlg::OnSystemMenuOpening() {
  ui::SystemMenu& menu = GetSystemMenu();
  const bool hdxPlus = transponderType_ == kTiHdxPlus;
  menu.SetText(kCmdChipTool,
               LoadString(hdxPlus ? str::kMenuConfigTiHdxPlus : str::kMenuTuningSic7999));
  menu.Enable(kCmdChipTool, hdxPlus || transponderType_ == kSic7999);
}

void CKX_M71_VantrelDlg::OnSysCommand(int commandId) {
  // Every item closes the connection or the window, or opens a window of its own that may use the
  // connection: none may run while a reader command waits inside the SDK.
  if (readerBusy_)
    return;
  // The About item ignores the low four bits, as the window system's items do.
  if ((commandId & ~0xF) == kCmdAbout) {
    ShowAbout();
    return;
  }
  switch (commandId) {
    case kCmdGerman:
      WriteLanguage(store_, kGerman);
      EndDialog(kEndLanguageSwitch);
      return;
    case kCmdEnglish:
      WriteLanguage(store_, kEnglish);
      EndDialog(kEndLanguageSwitch);
      return;
    case kCmdInterface:
      ChooseInterface();
      return;
    case kCmdSettings:
      OnSettings();
      return;
    case kCmdChipTool:
      OpenChipTool();
      return;
    default:
      Dialog::OnSysCommand(commandId);
  }
}

// The chip tools use the window's connection for as long as they are open: a cyclic tick must
// not start a command on it meanwhile.
void CKX_M71_VantrelDlg::OpenChipTool() {
  if (transponderType_ == kSic7999) {
    dialogs::CTuningDlg dialog(services(), connection_, this);
    const ReaderCommand command(readerBusy_);
    dialog.DoModal();
  } else if (transponderType_ == kTiHdxPlus) {
    dialogs::CHDXPlusConfigDlg dialog(services(), connection_, this);
    const ReaderCommand command(readerBusy_);
    dialog.DoModal();
  }
}

void CKX_M71_VantrelDlg::OnSettings() {
  dialogs::CBeepTimeDlg dialog(services(), store_, this);
  dialog.DoModal();
  // Read back whatever the dialog left, with the window's own defaults for a missing key.
  ReadBeepAndCycleTimes(store_, state_);
}

}  // namespace kx::app
