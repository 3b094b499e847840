// Resource ids of the two network dialogs: the list of readers found on the network (template
// 163) and a reader's network settings (template 159), their controls and their strings.
#pragma once

namespace kx::res::ip_list_dialog {

inline constexpr int kDialog = 163;

inline constexpr int kList = 1128;
inline constexpr int kChangeAddress = 1;  // "IP-Adresse ändern"
inline constexpr int kClose = 2;          // "Schliessen", the default button

// "Liste aller gefundenen IP-Adressen", the caption of the box below
inline constexpr int kListCaption = 10129;
// "Keine Geräte gefunden!..." with Retry and Cancel
inline constexpr int kNothingFound = 10131;

}  // namespace kx::res::ip_list_dialog

namespace kx::res::lan_config_dialog {

inline constexpr int kDialog = 159;

// Address mode radios; the index in the group is the mode (0 DHCP, 1 fixed address).
inline constexpr int kDhcpMode = 1043;
inline constexpr int kFixedMode = 1044;
inline constexpr int kDhcpName = 1041;
inline constexpr int kDhcpPort = 1042;
inline constexpr int kAddress = 1038;
inline constexpr int kAddressPort = 1040;
inline constexpr int kSubnetMask = 1039;
inline constexpr int kGateway = 1114;
inline constexpr int kProgress = 1045;
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;

// "Gültige IP Adresse eingeben!"
inline constexpr int kInvalidAddress = 10128;
// "IP-Adresse, Subnetzmaske oder Gateway konnte nicht gesetzt werden!"
inline constexpr int kWriteFailed = 10130;

}  // namespace kx::res::lan_config_dialog
