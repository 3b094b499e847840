// The socket under a LAN connection, and the same socket in UDP mode for the readers' network
// module. In TCP mode it belongs to the connection's socket thread, which lends it to an
// exchange while that waits for its answer: it connects to the reader, sends frames
// (reconnecting when the connection went down) and hands received bytes to its owner. In UDP
// mode it runs on the caller's thread: it sends the network module's requests and
// waits for their answers by sleeping on the socket, keeping what arrives in a datagram queue.
// The adapter list decides which local address new sockets are bound to.
#pragma once

#include <chrono>
#include <deque>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "link/frame_codec.h"
#include "transport/network_adapters.h"
#include "transport/network_datagrams.h"

namespace kxlf {

class CUSBSerialPort;

class CTCPSocket {
 public:
  using CAdapter = kxlf::CAdapter;
  using ReaderList = std::set<std::string>;  // ordered by byte values, no duplicates

  explicit CTCPSocket(CUSBSerialPort* owner = nullptr) : owner_(owner) {}
  ~CTCPSocket();
  CTCPSocket(const CTCPSocket&) = delete;
  CTCPSocket& operator=(const CTCPSocket&) = delete;

  // A descriptor that becomes readable when the socket thread is to stop; connects, sends and
  // pauses give up as soon as it is.
  void SetStopDescriptor(int fd) { stopFd_ = fd; }

  // TCP mode, on the socket thread. A name holding '[' is resolved through the network module
  // first. "host-port" names the reader's port, a bare host the default 10001.
  bool ConnectTcp(const std::string& name);
  // Reconnects when the connection is down (bound to the reader's port number), then sends
  // every byte. False on failure; a failed send marks the connection down.
  bool SendFrame(const Bytes& bytes);
  // The socket is readable: takes what arrived (TCP: all of it, to the owner; UDP: one
  // datagram, into the queue).
  void OnReceive();
  // TCP mode: one read of what has arrived, every byte handed to the owner. kEnded when the
  // reader closed the connection or it broke; the socket is left open for the caller to decide.
  enum class StreamRead { kDelivered, kNothing, kEnded };
  StreamRead ReadStream();
  // The same, sleeping in the read until bytes arrive or about `limit` has passed (kNothing).
  StreamRead ReadStreamWaiting(std::chrono::steady_clock::duration limit);
  // Reads and drops whatever has arrived; kEnded when the connection ended meanwhile.
  StreamRead DiscardPending();
  void OnClose(int error);
  void Close();

  bool IsOpen() const { return fd_ >= 0; }
  int Descriptor() const { return fd_; }
  bool IsConnected() const { return connected_; }
  const std::string& Host() const { return host_; }
  int Port() const { return port_; }

  bool GatherAdapters();
  void SelectAdapter(const std::string& host);
  bool FirstAdapter();
  bool NextAdapter();
  const std::vector<CAdapter>& Adapters() const { return adapters_; }
  const std::string& LocalAddress() const { return localAddress_; }

  // UDP mode, on the caller's thread.
  bool OpenUdp(const std::string& host);
  void CloseUdp();
  bool IsUdpMode() const { return udpMode_; }
  // The oldest queued datagram; those shorter than their header are dropped on the way.
  std::optional<Datagram> TakeDatagram();
  bool ReadRecord(int record, bool broadcast, Bytes& data);
  bool WriteRecord(int record, const Bytes& data);
  bool ReadInfo(Bytes& info);
  bool SendIpSetup(const Bytes& data, bool extended);
  bool SendClosingCommand();
  // "address-port" of the DHCP reader whose name is the bracketed part of `name`, tried on
  // every adapter for 200 ms each; empty when none answers.
  std::string ResolveReaderName(const std::string& name);
  // Queries every reader on the local address's network and merges their entries into `list`;
  // with the identity test only readers of the family stay, DHCP readers by name alone.
  void SearchReaders(std::chrono::milliseconds timeout, bool identityTest, ReaderList& list);

 private:
  // A new socket of `type` bound to the local address and `localPort`; -1 on failure.
  int CreateBoundSocket(int type, int localPort);
  bool ConnectSocket(int fd);
  bool MakeBlocking(int fd);
  StreamRead Read(int flags, bool deliver = true);
  bool SendAll(const Bytes& bytes);
  // Sleeps until the stop descriptor fires or `duration` has passed; false on stop.
  bool Pause(std::chrono::milliseconds duration);
  bool StopRequested() const;

  bool SendDatagram(const std::string& destination, const Bytes& datagram);
  bool SendToReader(const Bytes& datagram);
  bool Broadcast(const Bytes& datagram);
  // Sleeps on the socket until a datagram arrives or `deadline` passes, pumping the caller's
  // events meanwhile, and queues what arrived.
  void WaitForDatagram(std::chrono::steady_clock::time_point deadline);
  // The answer wait: success with the first datagram that `accept` takes; any other datagram
  // starts the 500 ms window again.
  template <typename Accept>
  std::optional<Datagram> AwaitAnswer(Accept accept);

  CUSBSerialPort* owner_;
  int fd_ = -1;
  int stopFd_ = -1;
  std::chrono::steady_clock::duration receiveTimeout_{};  // SO_RCVTIMEO of the TCP socket
  bool udpMode_ = false;
  bool connected_ = false;
  std::string host_;
  int port_ = 10001;
  std::string localAddress_;
  std::vector<CAdapter> adapters_;

  std::mutex queueMutex_;
  std::deque<Bytes> datagrams_;
};

}  // namespace kxlf
