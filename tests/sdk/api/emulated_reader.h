// An emulated reader on a pseudo-terminal for tests of the entry points.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "kxemu/pty_server.h"
#include "kxemu/reader_model.h"

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

}  // namespace kxlf::testing
