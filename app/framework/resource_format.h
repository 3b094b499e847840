// The tables that dialog templates, string tables and icons are written in. Plain constant data
// without Qt, so that the program's built-in resources and the language libraries loaded at run
// time are both compiled from them; a library hands its tables over through one C entry point.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kx::ui::res {

// Id of controls that the program never addresses (labels, group boxes, lines).
inline constexpr int kNoId = -1;

enum class ControlKind : uint8_t {
  kGroupBox,
  kLabel,           // static text
  kHorizontalLine,  // etched line
  kEdit,
  kButton,       // push button
  kCheckBox,     // toggles itself when clicked
  kRadioButton,  // radios that follow one another in the template form one group
  kListBox,      // single selection
  kComboBox,     // items: the text, one per line
  kIpAddress,    // dotted IPv4 address
  kProgressBar,
  kPicture,  // static picture: its text is the id of a picture of the icon table
};

// Control styles; which apply to which kind is noted at each.
namespace style {
inline constexpr uint32_t kGroup = 1u << 0;        // radio: starts a new group
inline constexpr uint32_t kPushLike = 1u << 1;     // check box, radio: looks like a push button
inline constexpr uint32_t kMultiLine = 1u << 2;    // edit: several lines; check box: text wraps
inline constexpr uint32_t kReadOnly = 1u << 3;     // edit
inline constexpr uint32_t kDigitsOnly = 1u << 4;   // edit: typing takes only 0..9
inline constexpr uint32_t kVScroll = 1u << 5;      // multi-line edit, list box
inline constexpr uint32_t kHidden = 1u << 6;       // any: not shown at start
inline constexpr uint32_t kDisabled = 1u << 7;     // any: disabled at start
inline constexpr uint32_t kSunken = 1u << 8;       // label: sunken frame
inline constexpr uint32_t kDefault = 1u << 9;      // push button: Enter clicks it
inline constexpr uint32_t kCentered = 1u << 10;    // label: centred text
inline constexpr uint32_t kNotify = 1u << 11;      // label, picture: reports clicks
inline constexpr uint32_t kWantReturn = 1u << 12;  // multi-line edit: Enter starts a new line
inline constexpr uint32_t kEditable = 1u << 13;    // combo box: the text can be typed
inline constexpr uint32_t kVertical = 1u << 14;    // progress bar
inline constexpr uint32_t kSorted = 1u << 15;      // list box, combo box
inline constexpr uint32_t kOwnerDraw = 1u << 16;   // list box: items drawn by their item value
}  // namespace style

// A rectangle in dialog units: x and width in quarters of the font's average character width, y
// and height in eighths of its height.
struct Rect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

struct ControlTemplate {
  int id = kNoId;
  ControlKind kind = ControlKind::kLabel;
  uint32_t style = 0;
  Rect rect;
  const char* text = "";  // UTF-8
};

// Window styles of a dialog.
namespace dialog_style {
inline constexpr uint32_t kSystemMenu = 1u << 0;  // close box and the window's command menu
inline constexpr uint32_t kMinimizeBox = 1u << 1;
inline constexpr uint32_t kMaximizeBox = 1u << 2;
inline constexpr uint32_t kAppWindow = 1u << 3;  // a window of its own in the task bar
inline constexpr uint32_t kResizable = 1u << 4;  // the size given is the smallest
inline constexpr uint32_t kBoldFont = 1u << 5;   // the template's font in bold
}  // namespace dialog_style

struct DialogTemplate {
  int id = 0;
  const char* caption = "";
  int width = 0;  // dialog units
  int height = 0;
  const char* fontName = "";  // "System" and "MS Shell Dlg" mean the desktop's general font
  int fontPointSize = 0;
  uint32_t style = 0;
  const ControlTemplate* controls = nullptr;  // in tab order
  size_t controlCount = 0;
};

struct StringEntry {
  int id = 0;
  const char* text = "";  // UTF-8
};

struct StringTable {
  const StringEntry* entries = nullptr;
  size_t count = 0;
};

struct IconEntry {
  int id = 0;
  const char* const* xpm = nullptr;  // the picture in XPM form
};

// Everything one language brings.
struct Module {
  uint32_t abiVersion = 0;
  const char* language = "";  // "de", "en"
  const DialogTemplate* const* dialogs = nullptr;
  size_t dialogCount = 0;
  const StringTable* stringTables = nullptr;
  size_t stringTableCount = 0;
  const IconEntry* icons = nullptr;
  size_t iconCount = 0;
};

// Raised whenever the tables above change shape: a library of another version is refused.
inline constexpr uint32_t kAbiVersion = 1;

// The C entry point of a language library: returns the library's module.
inline constexpr char kModuleEntryPoint[] = "KxResourceModule";
using ModuleEntryPoint = const Module* (*)();

}  // namespace kx::ui::res
