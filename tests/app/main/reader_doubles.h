// Stand-ins for the interface dialog and the sound device: choices queued beforehand, beeps
// recorded.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "beeper.h"
#include "interface_selection.h"

namespace kx::app::testing {

// A port that no system has: opening it fails at once.
inline constexpr char kNoSuchPort[] = "/dev/kx-no-such-port";

class ScriptedInterfaces : public InterfaceSelection {
 public:
  std::string stored = kNoSuchPort;
  // Answers of the interface dialog in order; once used up the operator cancels.
  std::deque<std::optional<std::string>> choices;
  int shown = 0;

  std::string StoredConnectionName() override { return stored; }
  std::optional<std::string> Choose(QWidget*) override {
    ++shown;
    if (choices.empty())
      return std::nullopt;
    std::optional<std::string> choice = std::move(choices.front());
    choices.pop_front();
    return choice;
  }
};

class RecordingBeeper : public Beeper {
 public:
  struct Tone {
    int frequencyHz;
    int durationMs;
    bool operator==(const Tone&) const = default;
  };
  std::vector<Tone> tones;

  void Beep(int frequencyHz, int durationMs) override {
    tones.push_back({frequencyHz, durationMs});
  }
};

}  // namespace kx::app::testing
