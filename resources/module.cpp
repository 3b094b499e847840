#include <iterator>

#include "resources/language.h"
#include "resources/tables.h"

namespace kx::res {

const ui::res::Module& LanguageModule() {
  static const ui::res::DialogTemplate* const dialogs[] = {
      &kMainWindowDialog,    &kPortDialog,  &kBeepTimeDialog, &kTuningDialog,
      &kHdxPlusConfigDialog, &kAboutDialog, &kIpListDialog,   &kLanConfigDialog};
  static const ui::res::StringTable stringTables[] = {
      kMainWindowStrings,          kWindowLayerStrings, kPortDialogStrings, kTuningDialogStrings,
      kHdxPlusConfigDialogStrings, kAboutDialogStrings, kLanDialogStrings};
  static const ui::res::IconEntry icons[] = {kApplicationIcon, kMakerLogo};
  static const ui::res::Module module = {
      ui::res::kAbiVersion,    KX_LANGUAGE, dialogs,          std::size(dialogs), stringTables,
      std::size(stringTables), icons,       std::size(icons),
  };
  return module;
}

}  // namespace kx::res
