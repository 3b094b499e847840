// An emulated reader on a pseudo-terminal for tests of the entry points.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "kxemu/pty_server.h"
#include "kxemu/reader_model.h"
#include "kxemu/transponder.h"
#include "kxlf.h"

namespace kxlf::testing {

struct EmulatedReader {
  explicit EmulatedReader(kxemu::ReaderConfig config = {})
      : model(std::move(config)), server(model) {
    std::string error;
    EXPECT_TRUE(server.Start({}, &error)) << error;
    device = server.DevicePath();
  }

  kxemu::ReaderModel model;
  kxemu::PtyServer server;
  std::string device;
};

// Memory bytes numbered 0, 1, 2, ... so that every block is recognisable.
inline kxemu::Transponder NumberedTransponder(int type) {
  kxemu::Transponder transponder = kxemu::MakeTransponder(type);
  for (size_t i = 0; i < transponder.memory.size(); ++i)
    transponder.memory[i] = static_cast<uint8_t>(i);
  return transponder;
}

// One emulated reader opened through the entry points, closed again when the test ends.
class ConnectedReaderTest : public ::testing::Test {
 protected:
  // The requests of the open itself are forgotten.
  void Connect(kxemu::ReaderConfig config = {}, int timeoutMs = 300) {
    reader_ = std::make_unique<EmulatedReader>(std::move(config));
    handle_ = KxLfOpen(reader_->device.c_str(), 19200, 0, timeoutMs);
    ASSERT_GT(handle_, 0);
    reader_->model.ClearReceivedRequests();
  }
  void TearDown() override {
    if (handle_ > 0)
      KxLfClose(handle_);
  }

  std::unique_ptr<EmulatedReader> reader_;
  int handle_ = 0;
};

}  // namespace kxlf::testing
