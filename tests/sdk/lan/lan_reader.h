// An emulated Ethernet reader for the LAN tests: the reader protocol over TCP and the network
// module on UDP port 30718, started inside the reader's namespace. Moves of the module change
// the address of its interface there.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "kxemu/module_server.h"
#include "kxemu/network_module.h"
#include "kxemu/reader_model.h"
#include "kxemu/tcp_server.h"
#include "netns_bench.h"

namespace kxlf::testing {

class LanReader {
 public:
  LanReader(kxtest::NetnsBench& bench, std::string ns, const std::string& interface,
            kxemu::ModuleSettings settings)
      : bench_(bench),
        ns_(std::move(ns)),
        module_(settings),
        tcp_(model_),
        server_(module_, &tcp_, kxemu::InterfaceMover(interface)) {
    bench_.RunIn(ns_, [&] {
      std::string error;
      ASSERT_TRUE(tcp_.Start("0.0.0.0", settings.port, &error)) << error;
      ASSERT_TRUE(server_.Start(&error)) << error;
    });
  }
  ~LanReader() {
    bench_.RunIn(ns_, [&] {
      server_.Stop();
      tcp_.Stop();
    });
  }

  kxemu::ReaderModel& Model() { return model_; }
  kxemu::NetworkModule& Module() { return module_; }
  kxemu::TcpServer& Tcp() { return tcp_; }

 private:
  kxtest::NetnsBench& bench_;
  std::string ns_;
  kxemu::ReaderModel model_;
  kxemu::NetworkModule module_;
  kxemu::TcpServer tcp_;
  kxemu::ModuleServer server_;
};

}  // namespace kxlf::testing
