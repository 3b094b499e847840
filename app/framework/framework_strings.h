// String ids that the window layer itself loads from the resources: every language library
// brings them along with the program's own strings.
#pragma once

namespace kx::ui::strings {

// The application title: caption of every message box.
inline constexpr int kAppTitle = 57344;

// The data exchange's standard messages; %1 and %2 stand for the numbers put in.
inline constexpr int kEnterInteger = 0xF110;
inline constexpr int kEnterIntegerBetween = 0xF112;
inline constexpr int kEnterAtMostChars = 0xF114;
inline constexpr int kEnterPositiveInteger = 0xF117;
inline constexpr int kEnterIpAddress = 0xF11A;

// Buttons of the message boxes.
inline constexpr int kButtonOk = 0xF1A0;
inline constexpr int kButtonCancel = 0xF1A1;
inline constexpr int kButtonYes = 0xF1A2;
inline constexpr int kButtonNo = 0xF1A3;
inline constexpr int kButtonRetry = 0xF1A4;

// The window's command menu: its title in the menu bar and its built-in close item.
inline constexpr int kSystemMenuTitle = 0xF1B0;
inline constexpr int kSystemMenuClose = 0xF1B1;

inline constexpr int kAll[] = {
    kAppTitle,         kEnterInteger,         kEnterIntegerBetween,
    kEnterAtMostChars, kEnterPositiveInteger, kEnterIpAddress,
    kButtonOk,         kButtonCancel,         kButtonYes,
    kButtonNo,         kButtonRetry,          kSystemMenuTitle,
    kSystemMenuClose,
};

}  // namespace kx::ui::strings
