// Template 109: the interface dialog, and its strings. Controls in tab order; rectangles in
// dialog units.
#include <iterator>

#include "resources/language.h"
#include "resources/port_dialog_ids.h"
#include "resources/tables.h"

namespace kx::res {

namespace {

using namespace port_dialog;
using namespace ui::res::style;
using ui::res::ControlKind;
using ui::res::ControlTemplate;
using ui::res::StringEntry;

constexpr ControlKind kGroupBox = ControlKind::kGroupBox;
constexpr ControlKind kLabel = ControlKind::kLabel;
constexpr ControlKind kEdit = ControlKind::kEdit;
constexpr ControlKind kButton = ControlKind::kButton;
constexpr ControlKind kCheckBox = ControlKind::kCheckBox;
constexpr ControlKind kRadio = ControlKind::kRadioButton;
constexpr ControlKind kListBox = ControlKind::kListBox;
constexpr ControlKind kComboBox = ControlKind::kComboBox;

// OK and Cancel stay where they are when the window grows, so they sit above the part that
// grows.
constexpr ControlTemplate kControls[] = {
    {kInterfaceGroup,
     kGroupBox,
     0,
     {7, 24, 236, 104},
     KX_TEXT("Schnittstelle auswählen", "Select interface")},
    {kInterfaceList, kListBox, kVScroll, {14, 36, 222, 52}, ""},
    {kEthernetActive,
     kCheckBox,
     0,
     {14, 92, 110, 10},
     KX_TEXT("Ethernet aktivieren", "Activate Ethernet")},
    {kIpList, kButton, kHidden, {186, 90, 50, 14}, "IP ?"},
    {kHidMode, kRadio, kPushLike | kGroup, {14, 108, 108, 14}, "HID Mode"},
    {kVirtualCom, kRadio, kPushLike, {128, 108, 108, 14}, "Virtual Com"},

    {kBaudRateLabel, kLabel, 0, {10, 136, 48, 8}, KX_TEXT("Baudrate", "Baud rate")},
    {kBaudRate,
     kComboBox,
     0,
     {60, 134, 56, 120},
     "2400\n4800\n9600\n19200\n38400\n57600\n115200\n230400"},
    {kParityLabel, kLabel, 0, {10, 152, 48, 8}, KX_TEXT("Parität", "Parity")},
    {kParity,
     kComboBox,
     0,
     {60, 150, 56, 60},
     KX_TEXT("keine\ngerade\nungerade", "none\neven\nodd")},
    {kStopBitsLabel, kLabel, 0, {10, 168, 48, 8}, KX_TEXT("Stopbits:", "Stop bits:")},
    {kStopBits, kComboBox, 0, {60, 166, 56, 40}, "1\n2"},
    {kTimeoutLabel, kLabel, 0, {126, 136, 76, 8}, KX_TEXT("Timeout in [ms]", "Timeout in [ms]")},
    {kTimeout, kEdit, kDigitsOnly, {204, 134, 39, 12}, ""},
    {kDeviceAddressLabel,
     kLabel,
     0,
     {126, 152, 76, 8},
     KX_TEXT("Geräteadresse [dez.]", "Device address [dec.]")},
    {kDeviceAddress, kEdit, kDigitsOnly, {204, 150, 39, 12}, ""},

    {kOk, kButton, kDefault, {136, 6, 50, 14}, "OK"},
    {kCancel, kButton, 0, {193, 6, 50, 14}, KX_TEXT("Abbrechen", "Cancel")},
};

// The maker's support page for the readers' USB drivers.
#define KX_DRIVER_PAGE "https://www.orv-rfid.de/support/usb-treiber"

constexpr StringEntry kEntries[] = {
    {kDriverPage, KX_DRIVER_PAGE},
    {kNoFtdiDriver, KX_TEXT("Kein Orv USB Treiber für KX-P(M)52 installiert!",
                            "No Orv USB driver for KX-P(M)52 installed!")},
    {kNoVirtualComDriver, KX_TEXT("Kein Orv USB Treiber für KX-P(M)71 VCOM installiert!",
                                  "No Orv USB driver for KX-P(M)71 VCOM installed!")},
    {kLoadDriver, KX_TEXT("Treiber laden und installieren?", "Download and install the driver?")},
};

}  // namespace

extern const ui::res::DialogTemplate kPortDialog = {
    kDialog,
    KX_TEXT("Schnittstelle", "Interface"),
    250,
    186,
    "MS Shell Dlg",
    8,
    ui::res::dialog_style::kSystemMenu | ui::res::dialog_style::kResizable,
    kControls,
    std::size(kControls),
};

extern const ui::res::StringTable kPortDialogStrings = {kEntries, std::size(kEntries)};

}  // namespace kx::res
