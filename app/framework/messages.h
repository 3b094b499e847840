// Command notifications of controls and the numbers of posted messages.
#pragma once

#include <cstdint>

namespace kx::ui {

// What a control reports to its dialog together with its id.
enum class Notification : int {
  kClicked = 0,        // buttons, check boxes, radios, labels with the notify style
  kSelChange = 1,      // list and combo boxes, by the operator only
  kDoubleClicked = 2,  // list boxes
  kSetFocus = 0x100,   // edits, address controls
  kKillFocus = 0x200,  // edits, address controls
  kChange = 0x300,     // edits, address controls: changed by the operator or the program
};

namespace msg {
// A command: the first argument carries id and notification (CommandParam), the second 0.
inline constexpr int kCommand = 0x0111;
// The first number free for a program's own messages.
inline constexpr int kUser = 0x0400;
}  // namespace msg

// Command ids of the window's command menu that the window layer handles itself.
namespace sys_cmd {
inline constexpr int kClose = 0xF060;
}  // namespace sys_cmd

// Commands of the window layer's own: ends the application (the main window ends its run).
namespace cmd {
inline constexpr int kAppExit = 0xE141;
}  // namespace cmd

constexpr intptr_t CommandParam(int id, Notification notification) {
  return (static_cast<intptr_t>(notification) << 16) | (id & 0xFFFF);
}
constexpr int CommandId(intptr_t param) {
  return static_cast<int>(param & 0xFFFF);
}
constexpr Notification CommandNotification(intptr_t param) {
  return static_cast<Notification>((param >> 16) & 0xFFFF);
}

}  // namespace kx::ui
