// Resource ids of the interface dialog: template 109, its controls and its strings.
#pragma once

namespace kx::res::port_dialog {

inline constexpr int kDialog = 109;

inline constexpr int kInterfaceList = 1012;
inline constexpr int kEthernetActive = 1042;
inline constexpr int kIpList = 1046;
inline constexpr int kHidMode = 1029;
inline constexpr int kVirtualCom = 1030;
inline constexpr int kBaudRate = 1011;
inline constexpr int kParity = 1013;
inline constexpr int kStopBits = 1014;
inline constexpr int kTimeout = 1002;
inline constexpr int kDeviceAddress = 1003;
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
// The frame and the labels, which move when the window grows.
inline constexpr int kInterfaceGroup = 1050;
inline constexpr int kBaudRateLabel = 1051;
inline constexpr int kParityLabel = 1052;
inline constexpr int kStopBitsLabel = 1053;
inline constexpr int kTimeoutLabel = 1054;
inline constexpr int kDeviceAddressLabel = 1055;

// Strings.
inline constexpr int kDriverPage = 10170;  // the maker's USB driver download page
inline constexpr int kNoFtdiDriver = 10171;
inline constexpr int kNoVirtualComDriver = 10172;
inline constexpr int kLoadDriver = 10173;

}  // namespace kx::res::port_dialog
