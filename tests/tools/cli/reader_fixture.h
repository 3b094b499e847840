// An emulated reader on a pseudo-terminal that kx-cli child processes connect to, a scratch
// directory for settings, logs and state files, and the commands the reader received.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "cli_process.h"
#include "kxemu/pty_server.h"
#include "kxemu/reader_model.h"
#include "kxemu/transponder.h"
#include "link/frame_codec.h"
#include "temp_dir.h"

namespace kx::cli::testing {

using Bytes = std::vector<uint8_t>;

class ReaderFixture : public ini::TempDirTest {
 protected:
  void TearDown() override {
    server_.reset();
    TempDirTest::TearDown();
  }

  void StartReader(kxemu::ReaderConfig config = {}) {
    model_ = std::make_unique<kxemu::ReaderModel>(std::move(config));
    server_ = std::make_unique<kxemu::PtyServer>(*model_);
    std::string error;
    ASSERT_TRUE(server_->Start({}, &error)) << error;
  }

  void StartReaderWith(const kxemu::Transponder& transponder) {
    kxemu::ReaderConfig config;
    config.transponder = transponder;
    StartReader(config);
  }

  std::string Device() const { return server_->DevicePath(); }
  std::string Path(const std::string& name) const { return PathOf(name); }

  // kx-cli against this reader: --port first, then the arguments.
  std::vector<std::string> Args(std::vector<std::string> args) const {
    args.insert(args.begin(), {"--port", Device()});
    return args;
  }
  CliResult Run(const std::vector<std::string>& args) const {
    return RunCli(Args(args), dir_.string());
  }
  CliResult RunWithoutPort(const std::vector<std::string>& args) const {
    return RunCli(args, dir_.string());
  }
  std::unique_ptr<CliProcess> Start(const std::vector<std::string>& args) const {
    return std::make_unique<CliProcess>(Args(args), dir_.string());
  }

  // Every request since the last clear, as command code and parameters.
  std::vector<Bytes> Commands() const {
    std::vector<Bytes> commands;
    for (const Bytes& frame : model_->ReceivedRequests()) {
      const kxlf::DecodedFrame decoded = kxlf::DecodeFrame(kxlf::FrameMode::kXor, frame);
      Bytes command{decoded.code};
      command.insert(command.end(), decoded.data.begin(), decoded.data.end());
      commands.push_back(command);
    }
    return commands;
  }
  // The requests with this command code.
  std::vector<Bytes> Commands(uint8_t code) const {
    std::vector<Bytes> matching;
    for (const Bytes& command : Commands()) {
      if (command.front() == code)
        matching.push_back(command);
    }
    return matching;
  }
  // The transponder requests: what follows the connection's identification and mode setting.
  std::vector<Bytes> TransponderCommands() const {
    std::vector<Bytes> matching;
    for (const Bytes& command : Commands()) {
      if (command.front() >= 0xC0 && command.front() <= 0xC4)
        matching.push_back(command);
    }
    return matching;
  }

  void WriteSettings(const std::string& text) const {
    const std::filesystem::path directory = dir_ / "Orv Applikationen";
    std::filesystem::create_directories(directory);
    std::ofstream(directory / "KX-M71 Vantrel.conf", std::ios::binary) << text;
  }

  std::unique_ptr<kxemu::ReaderModel> model_;
  std::unique_ptr<kxemu::PtyServer> server_;
};

}  // namespace kx::cli::testing
