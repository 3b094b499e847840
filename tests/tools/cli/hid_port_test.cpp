// kx-cli over a HID name: the child process binds the test build of hidapi, which finds the
// emulated reader that this test serves on a HID bus folder.
#include <stdlib.h>

#include <filesystem>

#include "kx_fake_ftd2xx/scoped_env.h"
#include "kxemu/hid_server.h"
#include "reader_fixture.h"

namespace kx::cli::testing {
namespace {

class HidPortTest : public ReaderFixture {
 protected:
  void SetUp() override {
    ReaderFixture::SetUp();
    char folder[] = "/tmp/kx-cli-hid.XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    bus_ = folder;
    busEnv_.emplace("KX_FAKE_HID_BUS", bus_);
  }
  void TearDown() override {
    if (hid_)
      hid_->Stop();
    busEnv_.reset();
    std::filesystem::remove_all(bus_);
    ReaderFixture::TearDown();
  }
  void ServeHid(const kxemu::Transponder& transponder) {
    kxemu::ReaderConfig config;
    config.transponder = transponder;
    hidModel_ = std::make_unique<kxemu::ReaderModel>(config);
    hid_ = std::make_unique<kxemu::HidServer>(*hidModel_);
    kxemu::HidIdentity identity;
    identity.serial = "7731-0042";
    std::string error;
    ASSERT_TRUE(hid_->Start(bus_, "reader", identity, &error)) << error;
  }
  CliResult RunHid(std::vector<std::string> args) const {
    args.insert(args.begin(), {"--port", "7731-0042 HID"});
    return RunWithoutPort(args);
  }

  std::string bus_;
  std::optional<kxfake::ScopedEnv> busEnv_;
  kxfake::ScopedEnv library_{"KXLF_HIDAPI_LIBRARY", KX_FAKE_HIDAPI_FILE};
  std::unique_ptr<kxemu::ReaderModel> hidModel_;
  std::unique_ptr<kxemu::HidServer> hid_;
};

TEST_F(HidPortTest, PortsListsTheReaderAndEveryCommandTakesItsName) {
  ServeHid(kxemu::MakeTransponder(33));
  const CliResult ports = RunWithoutPort({"ports", "--json"});
  EXPECT_EQ(ports.exitCode, 0) << ports.err;
  EXPECT_NE(ports.out.find(R"("kind":"usb","entry":"USB: 7731-0042 HID","port":"7731-0042 HID")"),
            std::string::npos)
      << ports.out;

  const CliResult identify = RunHid({"identify", "--json"});
  EXPECT_EQ(identify.exitCode, 0) << identify.err;
  EXPECT_NE(identify.out.find(R"("model":"KX-P71D")"), std::string::npos) << identify.out;
  EXPECT_NE(identify.out.find(R"("usb":true)"), std::string::npos) << identify.out;

  const CliResult write = RunHid({"write", "--type", "ti-multipage", "--verify", "1A2B"});
  EXPECT_EQ(write.exitCode, 0) << write.err;
  EXPECT_EQ(write.out, "Value <1A2B> written successfully\n");
  const CliResult read = RunHid({"read", "--type", "ti-multipage"});
  EXPECT_EQ(read.exitCode, 0) << read.err;
  EXPECT_EQ(read.out, "00001A2B\n");
}

TEST_F(HidPortTest, UnpluggedReaderIsNoReader) {
  ServeHid(kxemu::MakeTransponder(33));
  hid_->Stop();
  const CliResult identify = RunHid({"identify"});
  EXPECT_EQ(identify.exitCode, 3) << identify.out << identify.err;
}

}  // namespace
}  // namespace kx::cli::testing
