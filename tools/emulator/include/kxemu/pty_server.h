// Serves one ReaderModel on a pseudo-terminal, so that a host opens the emulated reader like a
// serial device.
//
// The server keeps a descriptor of the terminal side open itself: a pseudo-terminal whose
// terminal side nobody holds reports a hang-up to every poll, and holding it lets clients open
// and close the device as often as they like while the server sleeps in poll().
//
// Start, Stop and the path queries belong to one controlling thread; the model may be used
// from any thread meanwhile.
#pragma once

#include <atomic>
#include <string>
#include <thread>

#include "kxemu/reader_model.h"

namespace kxemu {

class PtyServer {
 public:
  explicit PtyServer(ReaderModel& model);
  ~PtyServer();
  PtyServer(const PtyServer&) = delete;
  PtyServer& operator=(const PtyServer&) = delete;

  // Creates the pseudo-terminal in raw mode, points `linkPath` at its device when it is not
  // empty (a symbolic link left there earlier is replaced, any other file is not) and starts
  // serving. On failure nothing is left behind and `error` says why.
  bool Start(const std::string& linkPath = {}, std::string* error = nullptr);

  // Stops serving and closes the pseudo-terminal, so that a client still holding the device
  // sees it vanish; removes the link. A stopped server may be started again (with a new device).
  void Stop();

  bool IsRunning() const;          // false also when serving ended because the terminal failed
  std::string DevicePath() const;  // the device a client opens, e.g. /dev/pts/3; empty if stopped
  std::string LinkPath() const;

 private:
  void Serve();
  // Waits until `fd` is ready for `events` or the timeout passes (< 0: no limit). False when
  // stop was requested.
  bool WaitFor(int fd, short events, int timeoutMs);
  bool Pause(std::chrono::milliseconds pause);
  bool WriteAll(const Bytes& bytes);
  void CloseAll();

  ReaderModel& model_;
  int master_ = -1;
  int slave_ = -1;     // the server's own hold on the terminal side
  int wakeRead_ = -1;  // a byte in this pipe asks the serving thread to stop
  int wakeWrite_ = -1;
  std::string devicePath_;
  std::string linkPath_;
  std::thread thread_;
  std::atomic<bool> serving_{false};
};

}  // namespace kxemu
