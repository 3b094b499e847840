// The LAN transport of a reader connection: one thread per open LAN connection owns the
// socket, connects it to the reader, sends the frames the connection queues and hands every
// received byte to the connection.
//
// The thread sleeps in epoll_wait() on its socket and on two event descriptors, one that
// QueueFrame signals and one that StopLan signals: a queued frame goes out at once, a stop takes
// effect at once, and an idle connection costs no processor time.
//
// While the connection stands, an exchange sends its frame from the caller's thread and reads
// the answer there, sleeping in recv() on the socket: handing the answer over from the socket
// thread would cost a second wake-up, as long again as the whole exchange on a local network.
// The socket thread then hears only the reader's close and errors, once each, and does not
// touch the socket until the exchange gives it back; bytes that arrive between exchanges wake
// nobody and are dropped by the next exchange before it sends. Everything else, the reconnect
// above all, stays with the socket thread: an exchange on a connection that is down, or while
// the thread is busy with the socket, queues its frame, and the thread listens for the answer
// and delivers it.
#pragma once

#include <sys/epoll.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

#include "link/frame_codec.h"
#include "transport/tcp_socket.h"

namespace kxlf {

class CUSBSerialPort;

class CTCPSocketThread {
 public:
  // `owner` receives the bytes; it must outlive this object.
  explicit CTCPSocketThread(CUSBSerialPort& owner);
  ~CTCPSocketThread();
  CTCPSocketThread(const CTCPSocketThread&) = delete;
  CTCPSocketThread& operator=(const CTCPSocketThread&) = delete;

  // Starts the thread and waits until its connect attempt is over; true when the connection
  // stands. On false the thread has ended.
  bool OpenLan(const std::string& name);
  // Appends a copy of the frame to the send queue and wakes the thread.
  void QueueFrame(const Bytes& frame);
  // Ends the thread and waits for it, at most about a second; a thread that has not ended by
  // then is waited for when this object goes.
  void StopLan();

  // The exchange's own use of the socket, all on the caller's thread. SendDirect sends the
  // frame when the connection stands and the socket thread is not busy with it, and keeps the
  // reading for the caller until EndDirect. kNotTaken: nothing was sent, queue the frame.
  // kFailed: the send failed; as on the socket thread, the connection is marked down and the
  // frame is dropped.
  enum class DirectSend { kSent, kFailed, kNotTaken };
  DirectSend SendDirect(const Bytes& frame);
  // Sleeps on the socket until bytes arrive or `until` passes, and hands what arrived to the
  // owner. kEnded: the reader closed the connection, it broke or the thread stopped; the
  // reading is back with the socket thread, which closes the socket as usual.
  enum class DirectWait { kReceived, kTimedOut, kEnded };
  DirectWait ReceiveDirect(std::chrono::steady_clock::time_point until);
  // Gives the reading back to the socket thread.
  void EndDirect();

  bool IsRunning() const { return running_.load(); }
  // The socket. While the thread runs it belongs to the thread; a configuration channel, which
  // never starts one, uses it in UDP mode on the caller's thread.
  CTCPSocket& Socket() { return socket_; }

 private:
  void Run();
  // Sets what the thread's epoll set reports of `fd`, adding it when new.
  bool Watch(int fd, uint32_t tag, uint32_t events = EPOLLIN);
  // With the socket's lock held:
  // What the thread hears of an open socket, data or only the close; false when it is closed.
  bool WatchSocket(bool forData);
  // True when a frame went out.
  bool SendQueued();
  // Before a frame goes out while the thread did not listen for data: drops what came.
  void DropUnheard();

  void Finish();
  void CloseEvents();

  CTCPSocket socket_;
  std::string address_;

  // Held by the socket thread for every use of the socket, and by the caller to take the
  // reading over and give it back; the caller reads without it, the thread stays away.
  std::mutex ioMutex_;
  bool callerReads_ = false;
  bool listening_ = false;  // the thread hears data, not only the reader's close
  bool recheck_ = false;    // the socket's end came while the caller read; the thread looks again

  std::mutex sendMutex_;
  std::deque<Bytes> sendQueue_;
  int events_ = -1;  // the epoll set the thread sleeps on
  int sendEvent_ = -1;
  int stopEvent_ = -1;

  std::mutex stateMutex_;
  std::condition_variable stateChanged_;
  bool started_ = false;   // the connect attempt is over
  bool finished_ = false;  // the thread is about to end
  bool connected_ = false;
  std::atomic<bool> running_{false};
  std::thread thread_;
};

}  // namespace kxlf
