// Template 164: the TMS37190 (TI HDX+) configuration dialog in a bold font, and its strings.
// Controls in tab order; rectangles in dialog units.
#include <iterator>

#include "resources/hdx_plus_config_dialog_ids.h"
#include "resources/language.h"
#include "resources/tables.h"

namespace kx::res {

namespace {

using namespace hdx_plus_config_dialog;
using namespace ui::res::style;
using ui::res::ControlKind;
using ui::res::ControlTemplate;
using ui::res::kNoId;
using ui::res::StringEntry;

constexpr ControlKind kLabel = ControlKind::kLabel;
constexpr ControlKind kEdit = ControlKind::kEdit;
constexpr ControlKind kButton = ControlKind::kButton;
constexpr ControlKind kRadio = ControlKind::kRadioButton;

// One field per line, the buttons in a row below. Each label sits before its field, so that the
// field follows it in the tab order.
constexpr ControlTemplate kControls[] = {
    {kNoId, kLabel, 0, {7, 9, 60, 8}, KX_TEXT("IC Life Cycle:", "IC life cycle:")},
    {kLifeCycle, kEdit, kDigitsOnly, {70, 7, 30, 12}, ""},
    {kNoId, kLabel, 0, {7, 27, 60, 8}, KX_TEXT("Q-Faktor:", "Q factor:")},
    {kLowQ, kRadio, kGroup, {70, 26, 44, 10}, "LowQ"},
    {kHighQ, kRadio, 0, {118, 26, 44, 10}, "HighQ"},
    {kNoId, kLabel, 0, {7, 43, 60, 8}, "Discharge:"},
    {kDischargeOff, kRadio, kGroup, {70, 42, 44, 10}, KX_TEXT("Aus", "Off")},
    {kDischargeOn, kRadio, 0, {118, 42, 44, 10}, KX_TEXT("Ein", "On")},
    {kNoId, kLabel, 0, {7, 61, 60, 8}, "RFU:"},
    {kRfu, kEdit, kDigitsOnly, {70, 59, 30, 12}, ""},

    {kRead, kButton, 0, {7, 82, 50, 14}, KX_TEXT("Lesen", "Read")},
    {kWrite, kButton, 0, {62, 82, 50, 14}, KX_TEXT("Schreiben", "Write")},
    {kClose, kButton, 0, {117, 82, 50, 14}, KX_TEXT("Schliessen", "Close")},
};

constexpr StringEntry kEntries[] = {
    {kReadFailed, KX_TEXT("Config Lesen geht nicht", "Reading the config failed")},
    {kWriteFailed, KX_TEXT("Config Schreiben geht nicht", "Writing the config failed")},
};

}  // namespace

extern const ui::res::DialogTemplate kHdxPlusConfigDialog = {
    kDialog,
    "TMS37190 (HDX+) Config",
    174,
    103,
    "MS Shell Dlg",
    8,
    ui::res::dialog_style::kSystemMenu | ui::res::dialog_style::kBoldFont,
    kControls,
    std::size(kControls),
};

extern const ui::res::StringTable kHdxPlusConfigDialogStrings = {kEntries, std::size(kEntries)};

}  // namespace kx::res
