// Connecting as the main window does: open, identify, refuse unsupported models.
#include "emulated_reader.h"

namespace kx::flows {
namespace {

using testing::Bytes;
using testing::ConnectedReader;

class ConnectTest : public ConnectedReader {};

TEST_F(ConnectTest, AcceptedReaderIsIdentifiedAndPutIntoModeZero) {
  Start();
  const ConnectResult result = Connect(server_->DevicePath(), 19200, 500);
  ASSERT_TRUE(result.ok());
  handle_ = result.handle;
  ASSERT_TRUE(result.reader);
  EXPECT_EQ(result.reader->versionText, "054A");
  EXPECT_EQ(result.reader->typeCode, 0x054);
  EXPECT_EQ(result.reader->modelName, "KX-P71D");
  EXPECT_EQ(FirmwareText(result.reader->firmwareRevision), "FW V1.10");
  EXPECT_FALSE(result.reader->usb);
  EXPECT_FALSE(result.failure);
  // The open's own identification, the version query, then reader mode 0.
  EXPECT_EQ(Commands(), (std::vector<Bytes>{{0xF0}, {0xF0}, {0xF4, 0x00}}));
}

TEST_F(ConnectTest, UnsupportedModelIsRefusedAndClosed) {
  kxemu::ReaderConfig config;
  config.versionText = "0394";
  Start(config);
  const ConnectResult result = Connect(server_->DevicePath(), 19200, 500);
  EXPECT_FALSE(result.ok());
  EXPECT_EQ(result.handle, 0);
  ASSERT_TRUE(result.reader) << "the refused reader's identity is still reported";
  EXPECT_EQ(result.reader->typeCode, 0x039);
  EXPECT_EQ(result.failure, (Failure{StatusMessage::kReaderNotSupported, 0}));
  EXPECT_GT(result.openResult, 0);
  EXPECT_EQ(KxLfGetLastError(result.openResult), KXLF_ERR_NO_CONNECTION) << "closed again";
  for (const Bytes& command : Commands())
    EXPECT_NE(command.front(), 0xF4) << "a refused reader is not touched";
}

TEST_F(ConnectTest, SilentPortIsAnOpenFailure) {
  Start();
  kxemu::Faults silent;
  silent.silent = true;
  model_->SetFaults(silent);
  const ConnectResult result = Connect(server_->DevicePath(), 19200, 100);
  EXPECT_FALSE(result.ok());
  EXPECT_EQ(result.openResult, -KXLF_ERR_NO_READER);
  EXPECT_FALSE(result.reader);
  EXPECT_EQ(result.failure, (Failure{StatusMessage::kPortOpenFailed, KXLF_ERR_NO_CONNECTION}));
}

TEST_F(ConnectTest, MissingPortIsAnOpenFailure) {
  const ConnectResult result = Connect("/dev/kx-no-such-port", 19200, 100);
  EXPECT_EQ(result.openResult, -1);
  EXPECT_EQ(result.failure, (Failure{StatusMessage::kPortOpenFailed, KXLF_ERR_NO_CONNECTION}));
}

TEST_F(ConnectTest, VersionAnswerLongerThanFourBytesMeansNoReader) {
  kxemu::ReaderConfig config;
  config.versionText = "KX-LF READER V3";
  Start(config);
  const ConnectResult result = Connect(server_->DevicePath(), 19200, 500);
  EXPECT_FALSE(result.ok());
  EXPECT_EQ(result.failure, (Failure{StatusMessage::kNoReaderAtPort, KXLF_ERR_BUFFER_TOO_SMALL}));
  EXPECT_EQ(KxLfGetLastError(result.openResult), KXLF_ERR_NO_CONNECTION);
}

}  // namespace
}  // namespace kx::flows
