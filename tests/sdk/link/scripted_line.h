// A serial line inside the test: every frame the port writes is recorded, and the test says
// what comes back and when. It has no descriptor, so the port's worker polls it.
#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <mutex>
#include <vector>

#include "transport/serial_line.h"

namespace kxlf::testing {

class ScriptedLine : public SerialLine {
 public:
  using Clock = std::chrono::steady_clock;
  using Bytes = std::vector<uint8_t>;
  // Given the bytes written, returns the pieces to answer with, each after its pause.
  using Responder =
      std::function<std::vector<std::pair<std::chrono::milliseconds, Bytes>>(const Bytes& written)>;

  explicit ScriptedLine(Responder responder) : responder_(std::move(responder)) {}

  bool Open(const std::string&) override { return open_ = true; }
  bool Configure(const LineSettings&) override { return true; }
  void Close() override { open_ = false; }
  bool IsOpen() const override { return open_; }

  bool QueryStatus(LineStatus& status) override {
    std::lock_guard<std::mutex> lock(mutex_);
    if (gone_)
      return false;
    ReleaseDue();
    status = LineStatus{0, static_cast<uint32_t>(readable_.size()), 0};
    return true;
  }
  bool QueryModemLines(uint32_t& lines) override {
    lines = 0;
    std::lock_guard<std::mutex> lock(mutex_);
    return !gone_;
  }
  int Read(uint8_t* buffer, size_t size, int& errorCode) override {
    std::lock_guard<std::mutex> lock(mutex_);
    errorCode = 0;
    size_t n = 0;
    while (n < size && !readable_.empty()) {
      buffer[n++] = readable_.front();
      readable_.pop_front();
    }
    return static_cast<int>(n);
  }
  WriteOutcome Write(const uint8_t* data, size_t size) override {
    std::lock_guard<std::mutex> lock(mutex_);
    if (gone_)
      return {0, true};
    const Bytes written(data, data + size);
    writes_.push_back(written);
    Clock::time_point at = Clock::now();
    for (auto& [pause, bytes] : responder_(written)) {
      at += pause;
      scheduled_.push_back({at, std::move(bytes)});
    }
    return {size, false};
  }
  int WaitDescriptor() const override { return -1; }

  std::vector<Bytes> Writes() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return writes_;
  }
  void Unplug() {
    std::lock_guard<std::mutex> lock(mutex_);
    gone_ = true;
  }

 private:
  void ReleaseDue() {
    const Clock::time_point now = Clock::now();
    while (!scheduled_.empty() && scheduled_.front().first <= now) {
      readable_.insert(readable_.end(), scheduled_.front().second.begin(),
                       scheduled_.front().second.end());
      scheduled_.pop_front();
    }
  }

  Responder responder_;
  mutable std::mutex mutex_;
  bool open_ = false;
  bool gone_ = false;
  std::vector<Bytes> writes_;
  std::deque<std::pair<Clock::time_point, Bytes>> scheduled_;
  std::deque<uint8_t> readable_;
};

}  // namespace kxlf::testing
