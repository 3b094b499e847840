// Marks a reader command as running for as long as it waits inside the SDK.
#pragma once

namespace kx::app {

class ReaderCommand {
 public:
  explicit ReaderCommand(bool& busy) : busy_(busy) { busy_ = true; }
  ~ReaderCommand() { busy_ = false; }
  ReaderCommand(const ReaderCommand&) = delete;
  ReaderCommand& operator=(const ReaderCommand&) = delete;

 private:
  bool& busy_;
};

}  // namespace kx::app
