#include "transport/usb_drivers.h"

#include <gtest/gtest.h>

#include <fstream>

#include "kx_fake_ftd2xx/scoped_env.h"
#include "transport/ftd2xx_port.h"

namespace kxlf {
namespace {

namespace fs = std::filesystem;
using kxfake::ScopedEnv;

const fs::path kTrees = KX_SYSFS_TREES;

class UsbDriversTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() /
            ("kx-usb-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    fs::create_directories(root_ / "module");
    fs::create_directories(root_ / "lib");
  }
  void TearDown() override { fs::remove_all(root_); }

  void Write(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << text << "\n";
  }
  // The recorded tree's USB devices with the module folders of this test.
  DriverSources Sources(const std::string& kernel) {
    return {kTrees / kernel / "sys" / "bus" / "usb" / "devices", root_ / "module", root_ / "lib"};
  }

  fs::path root_;
};

// The FTDI-based reader has no kernel driver bound while nobody has it open: its driver is the
// D2XX library, and only a library that cannot be loaded or lacks the reader's functions is
// missing. The virtual COM reader in the same tree is served by cdc_acm.
TEST_F(UsbDriversTest, FtdiReaderNeedsTheD2xxLibraryNotAKernelDriver) {
  {
    ScopedEnv library(kFtd2xxLibraryVariable, KX_FAKE_FTD2XX_FILE);
    EXPECT_EQ(MissingUsbDrivers(Sources("kernel-6.1")), 0);
  }
  for (const char* absent : {"/nonexistent/libftd2xx.so", KX_FAKE_FTD2XX_PARTIAL_FILE}) {
    ScopedEnv library(kFtd2xxLibraryVariable, absent);
    EXPECT_EQ(MissingUsbDrivers(Sources("kernel-6.1")), 1) << absent;
  }
}

// A virtual COM reader with no interface bound to cdc_acm is served once the driver loads; it
// misses its driver only when the kernel has no cdc_acm at all. No FTDI reader is attached in
// this tree, so no library is asked for.
TEST_F(UsbDriversTest, VirtualComReaderWithoutCdcAcm) {
  ScopedEnv library(kFtd2xxLibraryVariable, "/nonexistent/libftd2xx.so");
  EXPECT_EQ(MissingUsbDrivers(Sources("kernel-6.6")), 2);
  Write(root_ / "lib" / "modules.dep", "kernel/drivers/usb/class/cdc-acm.ko: ");
  EXPECT_EQ(MissingUsbDrivers(Sources("kernel-6.6")), 0);
  EXPECT_EQ(MissingUsbDrivers({root_ / "missing", root_ / "module", root_ / "lib"}), 0);
}

TEST_F(UsbDriversTest, VirtualComDriverLoadedBuiltInOrInstalled) {
  const DriverSources sources{{}, root_ / "module", root_ / "lib"};
  EXPECT_FALSE(IsVirtualComDriverAvailable(sources));
  Write(root_ / "lib" / "modules.dep", "kernel/drivers/usb/class/cdc-acm.ko: ");
  EXPECT_TRUE(IsVirtualComDriverAvailable(sources));
  fs::remove(root_ / "lib" / "modules.dep");
  Write(root_ / "lib" / "modules.builtin", "kernel/drivers/usb/class/cdc-acm.ko");
  EXPECT_TRUE(IsVirtualComDriverAvailable(sources));
  fs::remove(root_ / "lib" / "modules.builtin");
  fs::create_directories(root_ / "module" / "cdc_acm");
  EXPECT_TRUE(IsVirtualComDriverAvailable(sources));
}

}  // namespace
}  // namespace kxlf
