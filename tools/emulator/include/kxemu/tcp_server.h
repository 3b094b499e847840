// Serves one ReaderModel over TCP, as a reader with an Ethernet interface does: one connection
// at a time, the next one accepted when the current one has closed.
//
// Faults: DropConnection closes the current connection as a reader that restarts would, and
// SetCloseAfterAnswers makes the reader close every connection after that many answers.
// Every accepted connection's peer is recorded, so that tests see the host's local port.
//
// The listener is created on the thread that calls Start and moved by the serving thread, so a
// server started inside a network namespace stays there.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "kxemu/reader_model.h"

namespace kxemu {

struct TcpPeer {
  std::string address;
  uint16_t port = 0;
};

class TcpServer {
 public:
  explicit TcpServer(ReaderModel& model);
  ~TcpServer();
  TcpServer(const TcpServer&) = delete;
  TcpServer& operator=(const TcpServer&) = delete;

  // Listens on `address` (dotted; "0.0.0.0" for every address) and `port` and starts serving.
  bool Start(const std::string& address, uint16_t port, std::string* error = nullptr);
  void Stop();

  // Listens on another address and port from now on; the current connection is closed.
  void Move(const std::string& address, uint16_t port);
  void DropConnection();
  // > 0: every connection is closed by the reader after this many answers. 0: never.
  void SetCloseAfterAnswers(int answers);

  std::vector<TcpPeer> Peers() const;
  std::string Address() const;
  uint16_t Port() const;

 private:
  enum class Command : char { kStop = 's', kDrop = 'd', kMove = 'm' };
  void Serve();
  void Send(Command command);
  bool Listen(const std::string& address, uint16_t port, std::string* error);
  bool Answer(const uint8_t* data, size_t size);
  void CloseClient();

  ReaderModel& model_;
  int listener_ = -1;
  int client_ = -1;
  int wakeRead_ = -1;
  int wakeWrite_ = -1;
  std::thread thread_;

  mutable std::mutex mutex_;  // the fields below
  std::string address_;
  uint16_t port_ = 0;
  std::string moveAddress_;
  uint16_t movePort_ = 0;
  std::vector<TcpPeer> peers_;
  int closeAfterAnswers_ = 0;
  int answersOnConnection_ = 0;  // serving thread only
};

}  // namespace kxemu
