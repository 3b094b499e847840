// Templates of the framework tests and a dialog that records what the window layer tells it.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <cstdint>
#include <functional>
#include <tuple>
#include <vector>

#include "framework/data_exchange.h"
#include "framework/dialog.h"
#include "framework/resources.h"
#include "framework/services.h"
#include "framework/testing/scripted_prompts.h"

namespace kx::ui::testing {

// Template 500: one control of every kind.
namespace controls {
inline constexpr int kDialog = 500;
inline constexpr int kGroup = 100;
inline constexpr int kDigits = 101;
inline constexpr int kReadOnly = 102;
inline constexpr int kMultiLine = 103;
inline constexpr int kHiddenMultiLine = 104;
inline constexpr int kRadioA = 110;  // group A, B, C
inline constexpr int kRadioB = 111;
inline constexpr int kRadioC = 112;
inline constexpr int kRadioX = 113;  // follows C, but starts group X, Y
inline constexpr int kRadioY = 114;
inline constexpr int kToggle = 115;  // push-like check box
inline constexpr int kOption = 120;
inline constexpr int kWrapped = 121;  // check box with a wrapping caption
inline constexpr int kGo = 130;       // default button
inline constexpr int kDisabledButton = 131;
inline constexpr int kList = 140;
inline constexpr int kCombo = 141;
inline constexpr int kEditableCombo = 142;
inline constexpr int kAddress = 150;
inline constexpr int kProgress = 151;
inline constexpr int kLink = 160;      // label that reports clicks
inline constexpr int kFileName = 161;  // sunken label
}  // namespace controls

// Template 501: a form for the data exchange.
namespace form {
inline constexpr int kDialog = 501;
inline constexpr int kNumber = 10;   // int
inline constexpr int kCount = 11;    // unsigned
inline constexpr int kName = 12;     // text
inline constexpr int kNotes = 13;    // multi-line text
inline constexpr int kEnabled = 20;  // check box
inline constexpr int kChoice = 30;   // radios 30, 31, 32
}  // namespace form

// Template 502: labels and pictures for the custom controls.
namespace custom {
inline constexpr int kDialog = 502;
inline constexpr int kStatus = 10;     // plain label
inline constexpr int kWebLink = 11;    // label with the notify style
inline constexpr int kMailLink = 12;   // label without it
inline constexpr int kPicture = 20;    // picture kRedOnWhite
inline constexpr int kWhite = 21;      // picture kAllWhite
inline constexpr int kNoPicture = 22;  // names a picture that does not exist
// Pictures of the test module: 8 x 8, a red square of 4 x 4 in the middle of white, and all white.
inline constexpr int kRedOnWhite = 600;
inline constexpr int kAllWhite = 601;
}  // namespace custom

// Template 503: the controls of network settings.
namespace net {
inline constexpr int kDialog = 503;
inline constexpr int kAddress = 10;
inline constexpr int kMask = 11;
inline constexpr int kPort = 12;      // edit, after the address in tab order
inline constexpr int kProgress = 20;  // vertical, hidden
inline constexpr int kReaders = 30;   // list drawn by item value
inline constexpr int kPlain = 31;     // list without it
}  // namespace net

// No template has it.
inline constexpr int kMissingDialog = 999;

// The test templates with the real window-layer strings.
const res::Module& TestModule();

class RecordingDialog : public Dialog {
 public:
  using Dialog::Dialog;

  std::function<void(DataExchange&)> exchange;
  std::function<bool()> init;  // replaces OnInitDialog's return when set
  std::function<void(int)> onTimer;
  std::function<void()> onMenuOpening;

  std::vector<int> ticks;
  std::vector<std::tuple<int, intptr_t, intptr_t>> messages;
  int menuOpenings = 0;
  std::vector<int> sysCommands;
  int destroyed = 0;
  int controlsAtDestroy = 0;

 protected:
  bool OnInitDialog() override {
    const bool focus = Dialog::OnInitDialog();
    return init ? init() : focus;
  }
  void DoDataExchange(DataExchange& dx) override {
    if (exchange)
      exchange(dx);
  }
  void OnTimer(int id) override {
    ticks.push_back(id);
    if (onTimer)
      onTimer(id);
  }
  bool OnMessage(int message, intptr_t first, intptr_t second) override {
    messages.emplace_back(message, first, second);
    return message != msg::kCommand;
  }
  void OnSystemMenuOpening() override {
    ++menuOpenings;
    if (onMenuOpening)
      onMenuOpening();
  }
  void OnSysCommand(int id) override {
    sysCommands.push_back(id);
    Dialog::OnSysCommand(id);
  }
  void OnDestroy() override {
    ++destroyed;
    controlsAtDestroy += Item(form::kNumber) != nullptr || Item(controls::kGroup) != nullptr;
  }
};

class GuiTest : public ::testing::Test {
 protected:
  ScriptedPrompts prompts;
  Resources resources{TestModule()};
  Services services{resources, prompts};
};

}  // namespace kx::ui::testing
