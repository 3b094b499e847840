// Resource ids of the About dialog: template 100, its controls, the maker's logo and the texts of
// the update check.
#pragma once

namespace kx::res::about_dialog {

inline constexpr int kDialog = 100;

inline constexpr int kProductLine = 101;  // completed with the installed version and build
inline constexpr int kLogo = 102;
inline constexpr int kMailLink = 103;
inline constexpr int kWebLink = 104;
inline constexpr int kStatus = 106;  // state of the update check
inline constexpr int kAutoCheck = 1058;
inline constexpr int kOk = 1;

// Picture 129 of the icon table: the maker's logo, 128 x 128, white is transparent.
inline constexpr int kLogoPicture = 129;

}  // namespace kx::res::about_dialog

namespace kx::res::str {

inline constexpr int kUpdateNewVersion = 600;
inline constexpr int kUpdateIsCurrent = 601;
inline constexpr int kUpdateNoConnection = 602;
inline constexpr int kUpdateNoVersionFile = 603;
inline constexpr int kUpdateStarting = 604;
// Why a fetched installer is not started; each also goes to the status line.
inline constexpr int kUpdateNotSigned = 605;
inline constexpr int kUpdateDigestWrong = 606;
inline constexpr int kUpdateSignatureWrong = 607;
inline constexpr int kUpdateUnsafeName = 608;
// %1: the installer's path.
inline constexpr int kInstallerMissing = 609;
inline constexpr int kInstallerNotStarted = 610;
// While the installer comes: %1 kB received, %2 kB in all (0 while unknown).
inline constexpr int kUpdateProgress = 611;
inline constexpr int kUpdateProgressUnknownSize = 612;

}  // namespace kx::res::str
