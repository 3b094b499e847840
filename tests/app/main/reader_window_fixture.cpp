#include "reader_window_fixture.h"

#include <QTest>

#include "framework/sdk_wait_hooks.h"
#include "link/frame_codec.h"

namespace kx::app::testing {

void ReaderWindow::SetUp() {
  ui::RegisterSdkWaitHooks();
  // Every cycle test starts from a short period; the settings default would make them slow.
  store.SetInt(section::kSettings, key::kCycleTime, 20);
}

void ReaderWindow::TearDown() {
  MainWindow::TearDown();
  server.reset();
  ui::UnregisterSdkWaitHooks();
}

void ReaderWindow::StartReader(kxemu::ReaderConfig config) {
  model = std::make_unique<kxemu::ReaderModel>(std::move(config));
  server = std::make_unique<kxemu::PtyServer>(*model);
  std::string error;
  ASSERT_TRUE(server->Start({}, &error)) << error;
  interfaces.stored = server->DevicePath();
}

void ReaderWindow::OpenWindow() {
  dialog = MakeWindow();
  ASSERT_TRUE(dialog->Create());
  dialog->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
}

void ReaderWindow::OpenConnected(std::optional<kxemu::Transponder> transponder) {
  kxemu::ReaderConfig config;
  config.transponder = std::move(transponder);
  StartReader(std::move(config));
  OpenWindow();
  ASSERT_GT(dialog->connection(), 0) << prompts.MessageTexts().join(" | ").toStdString();
  model->ClearReceivedRequests();
}

std::vector<Bytes> ReaderWindow::Commands() const {
  std::vector<Bytes> commands;
  for (const Bytes& frame : model->ReceivedRequests()) {
    const kxlf::DecodedFrame decoded = kxlf::DecodeFrame(kxlf::FrameMode::kXor, frame);
    Bytes command{decoded.code};
    command.insert(command.end(), decoded.data.begin(), decoded.data.end());
    commands.push_back(command);
  }
  return commands;
}

QStringList ReaderWindow::StatusLines() const {
  return dialog->ItemText(mw::kStatus).split(u'\n', Qt::SkipEmptyParts);
}

}  // namespace kx::app::testing
