#include "transport/usb_drivers.h"

#include <gtest/gtest.h>

#include <fstream>

namespace kxlf {
namespace {

namespace fs = std::filesystem;

class UsbDriversTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() /
            ("kx-usb-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    fs::create_directories(root_);
  }
  void TearDown() override { fs::remove_all(root_); }

  void Write(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << text << "\n";
  }
  // A USB device with one interface, bound to a driver or not.
  void AddDevice(const std::string& name, const std::string& vendor, const std::string& product,
                 bool bound) {
    Write(root_ / name / "idVendor", vendor);
    Write(root_ / name / "idProduct", product);
    fs::create_directories(root_ / (name + ":1.0"));
    if (bound)
      fs::create_directories(root_ / (name + ":1.0") / "driver");
  }

  fs::path root_;
};

TEST_F(UsbDriversTest, ReportsOnlyReadersWithoutTheirDriver) {
  EXPECT_EQ(MissingUsbDrivers(root_), 0);
  AddDevice("1-1", "0403", "9d42", true);
  AddDevice("1-2", "6a7b", "0c5d", true);
  AddDevice("1-3", "1d6b", "0002", false);  // somebody else's device
  EXPECT_EQ(MissingUsbDrivers(root_), 0);
  AddDevice("2-1", "6a7b", "0c5d", false);
  EXPECT_EQ(MissingUsbDrivers(root_), 2);
  AddDevice("2-2", "0403", "9d42", false);
  EXPECT_EQ(MissingUsbDrivers(root_), 3);
  EXPECT_EQ(MissingUsbDrivers(root_ / "missing"), 0);
}

TEST_F(UsbDriversTest, VirtualComDriverLoadedBuiltInOrInstalled) {
  const fs::path loaded = root_ / "module";
  const fs::path modules = root_ / "lib";
  fs::create_directories(loaded);
  fs::create_directories(modules);
  EXPECT_FALSE(IsVirtualComDriverAvailable(loaded, modules));
  Write(modules / "modules.dep", "kernel/drivers/usb/class/cdc-acm.ko: ");
  EXPECT_TRUE(IsVirtualComDriverAvailable(loaded, modules));
  fs::remove(modules / "modules.dep");
  Write(modules / "modules.builtin", "kernel/drivers/usb/class/cdc-acm.ko");
  EXPECT_TRUE(IsVirtualComDriverAvailable(loaded, modules));
  fs::remove(modules / "modules.builtin");
  fs::create_directories(loaded / "cdc_acm");
  EXPECT_TRUE(IsVirtualComDriverAvailable(loaded, modules));
}

}  // namespace
}  // namespace kxlf
