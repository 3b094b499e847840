// The tables of one language, and the module that hands them out. Each table is compiled once
// for the program (German) and once for the English library.
#pragma once

#include "framework/resource_format.h"

namespace kx::res {

extern const ui::res::DialogTemplate kMainWindowDialog;
extern const ui::res::StringTable kMainWindowStrings;
extern const ui::res::StringTable kWindowLayerStrings;
extern const ui::res::IconEntry kApplicationIcon;
extern const ui::res::DialogTemplate kPortDialog;
extern const ui::res::StringTable kPortDialogStrings;
extern const ui::res::DialogTemplate kBeepTimeDialog;
extern const ui::res::DialogTemplate kTuningDialog;
extern const ui::res::StringTable kTuningDialogStrings;
extern const ui::res::DialogTemplate kHdxPlusConfigDialog;
extern const ui::res::StringTable kHdxPlusConfigDialogStrings;
extern const ui::res::DialogTemplate kAboutDialog;
extern const ui::res::StringTable kAboutDialogStrings;
extern const ui::res::IconEntry kMakerLogo;
extern const ui::res::DialogTemplate kIpListDialog;
extern const ui::res::DialogTemplate kLanConfigDialog;
extern const ui::res::StringTable kLanDialogStrings;

const ui::res::Module& LanguageModule();

}  // namespace kx::res
