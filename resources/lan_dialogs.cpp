// Templates 163 (the readers found on the network) and 159 (a reader's network settings), and
// their strings. Controls in tab order; rectangles in dialog units.
#include <iterator>

#include "resources/lan_dialogs_ids.h"
#include "resources/language.h"
#include "resources/tables.h"

namespace kx::res {

namespace {

using namespace ui::res::style;
using ui::res::ControlKind;
using ui::res::ControlTemplate;
using ui::res::kNoId;
using ui::res::StringEntry;

constexpr ControlKind kLabel = ControlKind::kLabel;
constexpr ControlKind kEdit = ControlKind::kEdit;
constexpr ControlKind kButton = ControlKind::kButton;
constexpr ControlKind kRadio = ControlKind::kRadioButton;
constexpr ControlKind kListBox = ControlKind::kListBox;
constexpr ControlKind kIpAddress = ControlKind::kIpAddress;
constexpr ControlKind kProgressBar = ControlKind::kProgressBar;

#define KX_LIST_CAPTION \
  KX_TEXT("Liste aller gefundenen IP-Adressen", "List of all IP addresses found")

// The list takes what the window grows; the buttons sit under it. Its items are drawn by their
// value, so that devices not confirmed as readers stand out.
constexpr ControlTemplate kIpListControls[] = {
    {ip_list_dialog::kList, kListBox, kVScroll | kOwnerDraw, {7, 7, 206, 110}, ""},
    {ip_list_dialog::kChangeAddress,
     kButton,
     0,
     {7, 123, 100, 14},
     KX_TEXT("IP-Adresse ändern", "Change IP address")},
    {ip_list_dialog::kClose, kButton, kDefault, {153, 123, 60, 14}, KX_TEXT("Schliessen", "Close")},
};

// The two radios follow one another so that they form one group; each sits above the fields it
// enables. Each label sits before its field in the tab order.
constexpr ControlTemplate kLanConfigControls[] = {
    {lan_config_dialog::kDhcpMode,
     kRadio,
     kGroup,
     {7, 7, 190, 10},
     KX_TEXT("IP Adresse automatisch beziehen", "Obtain an IP address automatically")},
    {lan_config_dialog::kFixedMode,
     kRadio,
     0,
     {7, 43, 190, 10},
     KX_TEXT("Folgende IP Adresse verwenden", "Use the following IP address")},
    {kNoId, kLabel, 0, {17, 23, 58, 8}, KX_TEXT("DHCP Name:", "DHCP name:")},
    {lan_config_dialog::kDhcpName, kEdit, 0, {78, 21, 80, 12}, ""},
    {kNoId, kLabel, 0, {161, 23, 5, 8}, "-"},
    {lan_config_dialog::kDhcpPort, kEdit, kDigitsOnly, {168, 21, 32, 12}, ""},
    {kNoId, kLabel, 0, {17, 59, 58, 8}, KX_TEXT("IP-Adresse:", "IP address:")},
    {lan_config_dialog::kAddress, kIpAddress, 0, {78, 57, 80, 12}, ""},
    {kNoId, kLabel, 0, {161, 59, 5, 8}, "-"},
    {lan_config_dialog::kAddressPort, kEdit, kDigitsOnly, {168, 57, 32, 12}, ""},
    {kNoId, kLabel, 0, {17, 77, 58, 8}, KX_TEXT("Subnetzmaske:", "Subnet mask:")},
    {lan_config_dialog::kSubnetMask, kIpAddress, 0, {78, 75, 80, 12}, ""},
    {kNoId, kLabel, 0, {17, 95, 58, 8}, KX_TEXT("Gateway:", "Gateway:")},
    {lan_config_dialog::kGateway, kIpAddress, 0, {78, 93, 80, 12}, ""},
    {lan_config_dialog::kProgress, kProgressBar, kVertical | kHidden, {207, 7, 8, 126}, ""},
    {lan_config_dialog::kOk, kButton, kDefault, {96, 117, 50, 14}, "OK"},
    {lan_config_dialog::kCancel, kButton, 0, {150, 117, 50, 14}, KX_TEXT("Abbrechen", "Cancel")},
};

constexpr StringEntry kEntries[] = {
    {lan_config_dialog::kInvalidAddress,
     KX_TEXT("Gültige IP Adresse eingeben!", "Enter a valid IP address!")},
    {ip_list_dialog::kListCaption, KX_LIST_CAPTION},
    {lan_config_dialog::kWriteFailed,
     KX_TEXT("IP-Adresse, Subnetzmaske oder Gateway konnte nicht gesetzt werden!",
             "IP address, subnet mask or gateway could not be set!")},
    {ip_list_dialog::kNothingFound,
     KX_TEXT("Keine Geräte gefunden!\nBitte prüfen Sie die Firewall-Einstellungen!\nEvtl. muss "
             "das Programm manuell in der Firewall freigegeben werden.",
             "No devices found!\nPlease check the firewall settings!\nThe program may have to be "
             "allowed through the firewall by hand.")},
};

}  // namespace

extern const ui::res::DialogTemplate kIpListDialog = {
    ip_list_dialog::kDialog,
    KX_LIST_CAPTION,
    220,
    144,
    "MS Shell Dlg",
    8,
    ui::res::dialog_style::kSystemMenu | ui::res::dialog_style::kResizable,
    kIpListControls,
    std::size(kIpListControls),
};

extern const ui::res::DialogTemplate kLanConfigDialog = {
    lan_config_dialog::kDialog,
    KX_TEXT("LAN Einstellung", "LAN settings"),
    222,
    140,
    "MS Shell Dlg",
    8,
    ui::res::dialog_style::kSystemMenu,
    kLanConfigControls,
    std::size(kLanConfigControls),
};

extern const ui::res::StringTable kLanDialogStrings = {kEntries, std::size(kEntries)};

}  // namespace kx::res
