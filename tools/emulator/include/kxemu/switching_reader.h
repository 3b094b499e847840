// One reader that presents itself either as a virtual COM port (a pseudo-terminal) or as a HID
// device on a bus folder (hid_server.h), and moves from one to the other when the host switches
// it: 0xFF with 1 (HID) or 2 (virtual COM port), then 0xF6. Like the firmware, the reader then
// leaves the bus and comes back in its new personality a moment later.
//
// Start and Stop belong to one controlling thread; the switch runs on a thread of its own.
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "kxemu/hid_server.h"
#include "kxemu/pty_server.h"
#include "kxemu/reader_model.h"

namespace kxemu {

struct SwitchingReaderSettings {
  std::string ptyLink;    // the pseudo-terminal's link while a virtual COM port (may be empty)
  std::string busFolder;  // where it plugs in as a HID device
  std::string busKey;     // its file names there
  HidIdentity hid;
  std::chrono::milliseconds absence{200};  // off the bus between the two personalities
};

class SwitchingReader {
 public:
  // Told of every personality the reader has taken, with the pseudo-terminal's device path
  // (virtual COM port) or the bus socket (HID); called on the switching thread.
  using Listener = std::function<void(UsbPersonality, const std::string&)>;

  SwitchingReader(ReaderModel& model, SwitchingReaderSettings settings, Listener listener = {});
  ~SwitchingReader();
  SwitchingReader(const SwitchingReader&) = delete;
  SwitchingReader& operator=(const SwitchingReader&) = delete;

  bool Start(UsbPersonality initial, std::string* error = nullptr);
  void Stop();
  UsbPersonality Current() const;
  std::string DevicePath() const;  // the pseudo-terminal while a virtual COM port, else empty

 private:
  bool Enter(UsbPersonality personality, std::string* error);
  void Leave();
  void Watch();

  ReaderModel& model_;
  SwitchingReaderSettings settings_;
  Listener listener_;
  PtyServer pty_;
  HidServer hid_;
  mutable std::mutex mutex_;  // the personality and the two servers
  UsbPersonality current_ = UsbPersonality::kVirtualCom;
  std::thread watcher_;
};

}  // namespace kxemu
