// Tests on a pseudo-terminal: the port opens its slave end, and the master end plays the
// device.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace kxlf::testing {

class PseudoTerminalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master_, 0);
    ASSERT_EQ(::grantpt(master_), 0);
    ASSERT_EQ(::unlockpt(master_), 0);
    slavePath_ = ::ptsname(master_);
  }
  void TearDown() override {
    if (master_ >= 0)
      ::close(master_);
  }

  int master_ = -1;
  std::string slavePath_;
};

}  // namespace kxlf::testing
