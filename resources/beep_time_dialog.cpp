// Template 151: the settings dialog for the beep and the cycle time. Controls in tab order;
// rectangles in dialog units.
#include <iterator>

#include "resources/beep_time_dialog_ids.h"
#include "resources/language.h"
#include "resources/tables.h"

namespace kx::res {

namespace {

using namespace beep_time_dialog;
using namespace ui::res::style;
using ui::res::ControlKind;
using ui::res::ControlTemplate;
using ui::res::kNoId;

constexpr ControlKind kLabel = ControlKind::kLabel;
constexpr ControlKind kEdit = ControlKind::kEdit;
constexpr ControlKind kButton = ControlKind::kButton;

// Each label sits before its edit, so that the edit follows it in the tab order.
constexpr ControlTemplate kControls[] = {
    {kNoId, kLabel, 0, {10, 12, 44, 8}, KX_TEXT("Tondauer", "Beep time")},
    {kBeepTime, kEdit, 0, {56, 10, 40, 12}, ""},
    {kNoId, kLabel, 0, {100, 12, 20, 8}, "ms"},
    {kNoId, kLabel, kCentered, {10, 26, 110, 8}, KX_TEXT("( 0ms = Ton aus)", "( 0ms = beep off)")},
    {kNoId, kLabel, 0, {10, 44, 44, 8}, KX_TEXT("Zykluszeit", "Cycle time")},
    {kCycleTime, kEdit, 0, {56, 42, 40, 12}, ""},
    {kNoId, kLabel, 0, {100, 44, 20, 8}, "ms"},

    {kOk, kButton, kDefault, {10, 64, 50, 14}, "OK"},
    {kCancel, kButton, 0, {70, 64, 50, 14}, KX_TEXT("Abbrechen", "Cancel")},
};

}  // namespace

extern const ui::res::DialogTemplate kBeepTimeDialog = {
    kDialog,
    KX_TEXT("Einstellungen", "Settings"),
    130,
    86,
    "MS Shell Dlg",
    8,
    ui::res::dialog_style::kSystemMenu,
    kControls,
    std::size(kControls),
};

}  // namespace kx::res
