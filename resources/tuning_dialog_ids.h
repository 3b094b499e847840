// Resource ids of the SIC7999 tuning dialog: template 130, its controls and its string.
#pragma once

namespace kx::res::tuning_dialog {

inline constexpr int kDialog = 130;

// Frequency setting radios; the index in the group is the setting.
inline constexpr int kSetting0 = 1046;
inline constexpr int kSetting1 = 1047;
inline constexpr int kTarget = 1017;
inline constexpr int kMinimum = 1015;
inline constexpr int kMaximum = 1016;
inline constexpr int kCtune = 1012;
inline constexpr int kDuration = 1019;
inline constexpr int kFrequency = 1014;
inline constexpr int kDeviation = 1018;
inline constexpr int kTest = 6;
inline constexpr int kRead = 4;
inline constexpr int kMeasure = 5;
inline constexpr int kSend = 1;  // the default button
inline constexpr int kAutotune = 3;
inline constexpr int kCancel = 2;

// "Chip Tuning geht nicht"
inline constexpr int kTuningFailed = 32900;

}  // namespace kx::res::tuning_dialog
