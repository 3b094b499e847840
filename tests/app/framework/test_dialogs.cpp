#include "test_dialogs.h"

#include <iterator>

#include "resources/tables.h"

namespace kx::ui::testing {

namespace {

using namespace res::style;
using res::ControlKind;
using res::ControlTemplate;
using res::kNoId;

constexpr ControlTemplate kControls[] = {
    {controls::kGroup, ControlKind::kGroupBox, 0, {5, 5, 190, 60}, "Gruppe"},
    {kNoId, ControlKind::kLabel, 0, {10, 15, 38, 8}, "Zahl"},
    {controls::kDigits, ControlKind::kEdit, kDigitsOnly, {50, 14, 60, 12}, "42"},
    {controls::kReadOnly, ControlKind::kEdit, kReadOnly, {115, 14, 60, 12}, "fest"},
    {controls::kMultiLine, ControlKind::kEdit, kMultiLine | kVScroll, {10, 30, 100, 30}, ""},
    {controls::kHiddenMultiLine, ControlKind::kEdit, kMultiLine | kHidden, {115, 30, 60, 30}, ""},
    {controls::kRadioA, ControlKind::kRadioButton, kGroup, {10, 70, 30, 10}, "A"},
    {controls::kRadioB, ControlKind::kRadioButton, 0, {45, 70, 30, 10}, "B"},
    {controls::kRadioC, ControlKind::kRadioButton, 0, {80, 70, 30, 10}, "C"},
    {controls::kRadioX, ControlKind::kRadioButton, kGroup | kPushLike, {115, 70, 30, 12}, "X"},
    {controls::kRadioY, ControlKind::kRadioButton, kPushLike, {150, 70, 30, 12}, "Y"},
    {controls::kToggle, ControlKind::kCheckBox, kPushLike, {10, 85, 50, 14}, "Zyklisch"},
    {controls::kOption, ControlKind::kCheckBox, 0, {65, 85, 50, 10}, "Option"},
    {controls::kWrapped,
     ControlKind::kCheckBox,
     kMultiLine,
     {120, 84, 50, 18},
     "letzten Wert beibehalten"},
    {controls::kGo, ControlKind::kButton, kDefault, {10, 105, 40, 14}, "Los"},
    {controls::kDisabledButton, ControlKind::kButton, kDisabled, {55, 105, 40, 14}, "Aus"},
    {controls::kList, ControlKind::kListBox, kVScroll, {10, 125, 80, 40}, ""},
    {controls::kCombo, ControlKind::kComboBox, 0, {95, 125, 50, 60}, "eins\nzwei\ndrei"},
    {controls::kEditableCombo, ControlKind::kComboBox, kEditable, {150, 125, 45, 60}, "a\nb"},
    {controls::kAddress, ControlKind::kIpAddress, 0, {95, 145, 70, 12}, ""},
    {controls::kProgress, ControlKind::kProgressBar, kVertical, {185, 145, 10, 40}, ""},
    {controls::kLink, ControlKind::kLabel, kNotify, {10, 170, 60, 8}, "https://example.invalid"},
    {controls::kFileName, ControlKind::kLabel, kSunken, {75, 170, 100, 12}, ""},
    {kNoId, ControlKind::kHorizontalLine, 0, {10, 185, 180, 1}, ""},
    {kIdOk, ControlKind::kButton, 0, {95, 190, 45, 14}, "OK"},
    {kIdCancel, ControlKind::kButton, 0, {145, 190, 45, 14}, "Abbrechen"},
};

constexpr ControlTemplate kForm[] = {
    {form::kNumber, ControlKind::kEdit, 0, {10, 10, 60, 12}, ""},
    {form::kCount, ControlKind::kEdit, 0, {10, 25, 60, 12}, ""},
    {form::kName, ControlKind::kEdit, 0, {10, 40, 60, 12}, ""},
    {form::kNotes, ControlKind::kEdit, kMultiLine, {10, 55, 60, 24}, ""},
    {form::kEnabled, ControlKind::kCheckBox, 0, {80, 10, 60, 10}, "An"},
    {form::kChoice, ControlKind::kRadioButton, kGroup, {80, 25, 60, 10}, "Eins"},
    {form::kChoice + 1, ControlKind::kRadioButton, 0, {80, 37, 60, 10}, "Zwei"},
    {form::kChoice + 2, ControlKind::kRadioButton, 0, {80, 49, 60, 10}, "Drei"},
    {kIdCancel, ControlKind::kButton, 0, {80, 65, 50, 14}, "Abbrechen"},
};

constexpr res::DialogTemplate kControlsDialog = {
    controls::kDialog, "Steuerelemente",     200, 210, "System", 10, res::dialog_style::kSystemMenu,
    kControls,         std::size(kControls),
};

constexpr res::DialogTemplate kFormDialog = {
    form::kDialog, "Formular",       150, 85, "MS Shell Dlg", 8, res::dialog_style::kSystemMenu,
    kForm,         std::size(kForm),
};

constexpr ControlTemplate kCustom[] = {
    {custom::kStatus, ControlKind::kLabel, 0, {10, 10, 150, 10}, "Nach Update suchen"},
    {custom::kWebLink,
     ControlKind::kLabel,
     kNotify,
     {10, 25, 150, 10},
     "https://www.example.invalid/produkt"},
    {custom::kMailLink, ControlKind::kLabel, 0, {10, 40, 150, 10}, "mailto:info@example.invalid"},
    {custom::kPicture, ControlKind::kPicture, 0, {10, 55, 20, 20}, "600"},
    {custom::kWhite, ControlKind::kPicture, 0, {40, 55, 20, 20}, "601"},
    {custom::kNoPicture, ControlKind::kPicture, 0, {70, 55, 20, 20}, "602"},
    {kIdOk, ControlKind::kButton, 0, {10, 80, 45, 14}, "OK"},
};

constexpr res::DialogTemplate kCustomDialog = {
    custom::kDialog,
    "Eigene",
    170,
    100,
    "MS Shell Dlg",
    8,
    res::dialog_style::kSystemMenu,
    kCustom,
    std::size(kCustom),
};

constexpr ControlTemplate kNet[] = {
    {net::kAddress, ControlKind::kIpAddress, 0, {10, 10, 80, 12}, ""},
    {net::kMask, ControlKind::kIpAddress, 0, {10, 25, 80, 12}, ""},
    {net::kPort, ControlKind::kEdit, kDigitsOnly, {95, 10, 30, 12}, ""},
    {net::kProgress, ControlKind::kProgressBar, kVertical | kHidden, {130, 10, 10, 60}, ""},
    {net::kReaders, ControlKind::kListBox, kOwnerDraw, {10, 40, 110, 40}, ""},
    {net::kPlain, ControlKind::kListBox, 0, {10, 85, 110, 40}, ""},
    {kIdOk, ControlKind::kButton, kDefault, {10, 130, 45, 14}, "OK"},
    {kIdCancel, ControlKind::kButton, 0, {60, 130, 45, 14}, "Abbrechen"},
};

constexpr res::DialogTemplate kNetDialog = {
    net::kDialog, "Netz",          150, 150, "MS Shell Dlg", 8, res::dialog_style::kSystemMenu,
    kNet,         std::size(kNet),
};

// clang-format off
const char* const kRedOnWhiteXpm[] = {
    "8 8 2 1", "w c #FFFFFF", "r c #FF0000",
    "wwwwwwww", "wwwwwwww", "wwrrrrww", "wwrrrrww", "wwrrrrww", "wwrrrrww", "wwwwwwww", "wwwwwwww"};
const char* const kAllWhiteXpm[] = {
    "8 8 1 1", "w c #FFFFFF",
    "wwwwwwww", "wwwwwwww", "wwwwwwww", "wwwwwwww", "wwwwwwww", "wwwwwwww", "wwwwwwww", "wwwwwwww"};
// clang-format on

constexpr res::IconEntry kPictures[] = {{custom::kRedOnWhite, kRedOnWhiteXpm},
                                        {custom::kAllWhite, kAllWhiteXpm}};

const res::DialogTemplate* const kDialogs[] = {&kControlsDialog, &kFormDialog, &kCustomDialog,
                                               &kNetDialog};

}  // namespace

const res::Module& TestModule() {
  static const res::StringTable tables[] = {kx::res::kWindowLayerStrings,
                                            kx::res::kMainWindowStrings};
  static const res::Module module = {
      res::kAbiVersion, "de",
      kDialogs,         std::size(kDialogs),
      tables,           std::size(tables),
      kPictures,        std::size(kPictures),
  };
  return module;
}

}  // namespace kx::ui::testing
