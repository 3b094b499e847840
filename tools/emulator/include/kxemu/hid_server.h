// Serves one ReaderModel as a USB HID reader on a "bus folder", the stand-in for the USB bus
// that the test build of hidapi enumerates when KX_FAKE_HID_BUS names the folder:
//   <folder>/<key>.sock  a Unix seqpacket socket; each packet host -> reader is one output
//                        report as hidraw's write takes it (report id first), each packet
//                        reader -> host one input report as hidraw's read returns it;
//   <folder>/<key>.info  the device's ids, serial number and report lengths (hid_reports.h),
//                        written after the socket listens, removed before it goes.
// Every connected host receives every input report, as every open hidraw handle does.
//
// Start, Stop and the queries belong to one controlling thread.
#pragma once

#include <atomic>
#include <string>
#include <thread>

#include "kxemu/hid_reports.h"
#include "kxemu/reader_model.h"

namespace kxemu {

class HidServer {
 public:
  explicit HidServer(ReaderModel& model);
  ~HidServer();
  HidServer(const HidServer&) = delete;
  HidServer& operator=(const HidServer&) = delete;

  // Plugs the reader into the bus folder under `key`. On failure nothing is left behind.
  bool Start(const std::string& folder, const std::string& key, const HidIdentity& identity,
             std::string* error = nullptr);
  // Unplugs it: the files go and connected hosts see the device vanish.
  void Stop();
  bool IsRunning() const;
  std::string SocketPath() const { return socketPath_; }

 private:
  void Serve();

  ReaderModel& model_;
  HidIdentity identity_;
  int listen_ = -1;
  int wakeRead_ = -1;
  int wakeWrite_ = -1;
  std::string socketPath_;
  std::string infoPath_;
  std::thread thread_;
  std::atomic<bool> serving_{false};
};

}  // namespace kxemu
