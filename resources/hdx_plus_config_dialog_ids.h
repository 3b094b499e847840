// Resource ids of the TMS37190 (TI HDX+) configuration dialog: template 164, its controls and its
// strings.
#pragma once

namespace kx::res::hdx_plus_config_dialog {

inline constexpr int kDialog = 164;

inline constexpr int kLifeCycle = 1051;
inline constexpr int kLowQ = 1047;  // first of the Q factor radios: index 0 LowQ, 1 HighQ
inline constexpr int kHighQ = 1048;
inline constexpr int kDischargeOff = 1049;  // first of the discharge radios: 0 off, 1 on
inline constexpr int kDischargeOn = 1050;
inline constexpr int kRfu = 1014;
inline constexpr int kRead = 4;
inline constexpr int kWrite = 1052;
inline constexpr int kClose = 2;

// "Config Lesen geht nicht", "Config Schreiben geht nicht"
inline constexpr int kReadFailed = 32901;
inline constexpr int kWriteFailed = 32902;

}  // namespace kx::res::hdx_plus_config_dialog
