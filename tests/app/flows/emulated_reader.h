// A connected reader for flow tests: the emulator on a pseudo-terminal, the SDK connected to it
// as the main window connects, and the commands the reader received since then.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "flows/connect.h"
#include "kxemu/pty_server.h"
#include "kxemu/reader_model.h"
#include "kxemu/transponder.h"
#include "kxlf.h"
#include "link/frame_codec.h"
#include "link/reader_commands.h"

namespace kx::flows::testing {

using Bytes = std::vector<uint8_t>;

constexpr uint8_t kWholeRead = kxlf::kWholeReadCommand;
constexpr uint8_t kWholeWrite = kxlf::kWholeWriteCommand;
constexpr uint8_t kBlockRead = kxlf::kBlockReadCommand;
constexpr uint8_t kBlockWrite = kxlf::kBlockWriteCommand;

// A request as command code followed by its parameters.
inline Bytes CommandOf(const Bytes& frame) {
  const kxlf::DecodedFrame decoded = kxlf::DecodeFrame(kxlf::FrameMode::kXor, frame);
  Bytes command{decoded.code};
  command.insert(command.end(), decoded.data.begin(), decoded.data.end());
  return command;
}

inline Bytes Join(Bytes head, const Bytes& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

// Memory counting up from 0x10, so that every block reads back differently.
inline kxemu::Transponder Numbered(int code) {
  kxemu::Transponder transponder = kxemu::MakeTransponder(code);
  for (size_t i = 0; i < transponder.memory.size(); ++i)
    transponder.memory[i] = static_cast<uint8_t>(0x10 + i);
  return transponder;
}

class ConnectedReader : public ::testing::Test {
 protected:
  // A fresh reader; the server of an earlier one stops before its model goes.
  void Start(kxemu::ReaderConfig config = {}) {
    server_.reset();
    model_ = std::make_unique<kxemu::ReaderModel>(std::move(config));
    server_ = std::make_unique<kxemu::PtyServer>(*model_);
    std::string error;
    ASSERT_TRUE(server_->Start({}, &error)) << error;
  }

  void StartConnected(kxemu::ReaderConfig config = {}) {
    Start(std::move(config));
    const ConnectResult connected = kx::flows::Connect(server_->DevicePath(), 19200, 500);
    ASSERT_TRUE(connected.ok());
    handle_ = connected.handle;
    model_->ClearReceivedRequests();
  }

  // Connected, with the transponder in the field.
  void With(const kxemu::Transponder& transponder) {
    kxemu::ReaderConfig config;
    config.transponder = transponder;
    StartConnected(config);
  }

  void TearDown() override {
    if (handle_ > 0)
      KxLfClose(handle_);
  }

  std::vector<Bytes> Commands() const {
    std::vector<Bytes> commands;
    for (const Bytes& frame : model_->ReceivedRequests())
      commands.push_back(CommandOf(frame));
    return commands;
  }

  Bytes Memory() const { return model_->CurrentTransponder().value().memory; }

  std::unique_ptr<kxemu::ReaderModel> model_;
  std::unique_ptr<kxemu::PtyServer> server_;
  int handle_ = 0;
};

}  // namespace kx::flows::testing
