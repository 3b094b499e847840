// Template 130: the SIC7999 tuning dialog, and its string. Controls in tab order; rectangles in
// dialog units.
#include <iterator>

#include "resources/language.h"
#include "resources/tables.h"
#include "resources/tuning_dialog_ids.h"

namespace kx::res {

namespace {

using namespace tuning_dialog;
using namespace ui::res::style;
using ui::res::ControlKind;
using ui::res::ControlTemplate;
using ui::res::kNoId;
using ui::res::StringEntry;

constexpr ControlKind kLabel = ControlKind::kLabel;
constexpr ControlKind kEdit = ControlKind::kEdit;
constexpr ControlKind kButton = ControlKind::kButton;
constexpr ControlKind kRadio = ControlKind::kRadioButton;

// Labels on the left, values in the middle with their units, the buttons in a column on the
// right. Each label sits before its edit, so that the edit follows it in the tab order.
constexpr ControlTemplate kControls[] = {
    {kNoId, kLabel, 0, {7, 9, 84, 8}, KX_TEXT("Frequenzeinstellung:", "Frequency setting:")},
    {kSetting0, kRadio, kGroup, {94, 8, 20, 10}, "0"},
    {kSetting1, kRadio, 0, {118, 8, 20, 10}, "1"},

    {kNoId, kLabel, 0, {7, 26, 84, 8}, KX_TEXT("Soll Frequenz:", "Target frequency:")},
    {kTarget, kEdit, kReadOnly, {94, 24, 44, 12}, ""},
    {kNoId, kLabel, 0, {141, 26, 12, 8}, "Hz"},
    {kNoId, kLabel, 0, {7, 41, 84, 8}, KX_TEXT("Minimum Frequenz:", "Minimum frequency:")},
    {kMinimum, kEdit, kReadOnly, {94, 39, 44, 12}, ""},
    {kNoId, kLabel, 0, {141, 41, 12, 8}, "Hz"},
    {kNoId, kLabel, 0, {7, 56, 84, 8}, KX_TEXT("Maximum Frequenz:", "Maximum frequency:")},
    {kMaximum, kEdit, kReadOnly, {94, 54, 44, 12}, ""},
    {kNoId, kLabel, 0, {141, 56, 12, 8}, "Hz"},

    {kNoId, kLabel, 0, {7, 76, 84, 8}, "CTune:"},
    {kCtune, kEdit, kDigitsOnly, {94, 74, 44, 12}, ""},

    {kNoId, kLabel, 0, {7, 96, 84, 8}, KX_TEXT("Gemessene Dauer:", "Measured duration:")},
    {kDuration, kEdit, kReadOnly, {94, 94, 44, 12}, ""},
    {kNoId, kLabel, 0, {141, 96, 12, 8}, KX_TEXT("µS", "µs")},
    {kNoId, kLabel, 0, {7, 111, 84, 8}, KX_TEXT("Gemessene Frequenz:", "Measured frequency:")},
    {kFrequency, kEdit, kReadOnly, {94, 109, 44, 12}, ""},
    {kNoId, kLabel, 0, {141, 111, 12, 8}, "Hz"},
    {kNoId, kLabel, 0, {7, 126, 84, 8}, KX_TEXT("Abweichung:", "Deviation:")},
    {kDeviation, kEdit, kReadOnly, {94, 124, 44, 12}, ""},
    {kNoId, kLabel, 0, {141, 126, 12, 8}, "Hz"},

    {kTest, kButton, 0, {160, 7, 50, 14}, "Test"},
    {kRead, kButton, 0, {160, 27, 50, 14}, "Read"},
    {kMeasure, kButton, 0, {160, 47, 50, 14}, KX_TEXT("Messen", "Measure")},
    {kSend, kButton, kDefault, {160, 73, 50, 14}, "Send"},
    {kAutotune, kButton, 0, {160, 93, 50, 14}, "Autotune"},
    {kCancel, kButton, 0, {160, 123, 50, 14}, KX_TEXT("Abbrechen", "Cancel")},
};

constexpr StringEntry kEntries[] = {
    {kTuningFailed, KX_TEXT("Chip Tuning geht nicht", "Chip tuning failed")},
};

}  // namespace

extern const ui::res::DialogTemplate kTuningDialog = {
    kDialog,
    "SIC7999 Tuning",
    217,
    144,
    "MS Shell Dlg",
    8,
    ui::res::dialog_style::kSystemMenu,
    kControls,
    std::size(kControls),
};

extern const ui::res::StringTable kTuningDialogStrings = {kEntries, std::size(kEntries)};

}  // namespace kx::res
