// The fixture of the LAN tests: a host namespace for the SDK and a reader namespace on one
// network, 198.18.0.0/24. The reader's address is 198.18.0.2, the host's 198.18.0.1. The test
// body runs inside the host namespace.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "netns_bench.h"

namespace kxlf::testing {

constexpr const char* kHostAddress = "198.18.0.1";
constexpr const char* kReaderAddress = "198.18.0.2";

class LanBenchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host_ = bench_.AddNamespace();
    if (host_.empty())
      GTEST_SKIP() << "network namespaces cannot be created here";
    reader_ = bench_.AddNamespace();
    ASSERT_FALSE(reader_.empty());
    readerInterface_ = bench_.Link(reader_, std::string(kReaderAddress) + "/24", host_,
                                   std::string(kHostAddress) + "/24");
    ASSERT_FALSE(readerInterface_.empty());
  }
  // Enters the host namespace; everything the SDK opens from here on lives there.
  void EnterHost() {
    inHost_ = std::make_unique<kxtest::ScopedNetns>(host_);
    ASSERT_TRUE(inHost_->Entered());
    ASSERT_TRUE(kxtest::OutsideMachineNamespace());
  }
  void LeaveHost() { inHost_.reset(); }

  kxtest::NetnsBench bench_;
  std::string host_;
  std::string reader_;
  std::string readerInterface_;  // the reader's end of the link, in the reader namespace
  std::unique_ptr<kxtest::ScopedNetns> inHost_;
};

}  // namespace kxlf::testing
