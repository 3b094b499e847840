// Resource ids of the settings dialog for the beep and the cycle time: template 151 and its
// controls.
#pragma once

namespace kx::res::beep_time_dialog {

inline constexpr int kDialog = 151;

inline constexpr int kBeepTime = 1002;
inline constexpr int kCycleTime = 1003;
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;

}  // namespace kx::res::beep_time_dialog
