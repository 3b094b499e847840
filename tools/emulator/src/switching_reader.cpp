#include "kxemu/switching_reader.h"

namespace kxemu {
namespace {

constexpr std::chrono::milliseconds kAnswerGrace{50};

}  // namespace

SwitchingReader::SwitchingReader(ReaderModel& model, SwitchingReaderSettings settings,
                                 Listener listener)
    : model_(model),
      settings_(std::move(settings)),
      listener_(std::move(listener)),
      pty_(model),
      hid_(model) {}

SwitchingReader::~SwitchingReader() {
  Stop();
}

bool SwitchingReader::Start(UsbPersonality initial, std::string* error) {
  Stop();
  std::lock_guard<std::mutex> lock(mutex_);
  model_.TakePersonalitySwitch();  // one chosen before serving is no switch of this run
  if (!Enter(initial, error))
    return false;
  watcher_ = std::thread([this] { Watch(); });
  return true;
}

void SwitchingReader::Stop() {
  if (watcher_.joinable()) {
    model_.InterruptPersonalityWait();
    watcher_.join();
  }
  std::lock_guard<std::mutex> lock(mutex_);
  Leave();
}

UsbPersonality SwitchingReader::Current() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return current_;
}

std::string SwitchingReader::DevicePath() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return pty_.DevicePath();
}

bool SwitchingReader::Enter(UsbPersonality personality, std::string* error) {
  current_ = personality;
  if (personality == UsbPersonality::kHid)
    return hid_.Start(settings_.busFolder, settings_.busKey, settings_.hid, error);
  return pty_.Start(settings_.ptyLink, error);
}

void SwitchingReader::Leave() {
  pty_.Stop();
  hid_.Stop();
}

void SwitchingReader::Watch() {
  while (std::optional<UsbPersonality> next = model_.WaitPersonalitySwitch()) {
    std::string where;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (*next == current_)
        continue;
    }
    // The answer to 0xF6 goes out before the reader leaves the bus.
    std::this_thread::sleep_for(kAnswerGrace);
    {
      std::lock_guard<std::mutex> lock(mutex_);
      Leave();
    }
    // Off the bus for a moment, as a reader that re-enumerates; a Stop meanwhile waits.
    std::this_thread::sleep_for(settings_.absence);
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (!Enter(*next, nullptr))
        continue;
      where = *next == UsbPersonality::kHid ? hid_.SocketPath() : pty_.DevicePath();
    }
    if (listener_)
      listener_(*next, where);
  }
}

}  // namespace kxemu
