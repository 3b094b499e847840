// The LAN transport of a reader connection: one thread per open LAN connection owns the
// socket, connects it to the reader, sends the frames the connection queues and hands every
// received byte to the connection.
//
// The thread sleeps in poll() on its socket and on two event descriptors, one that QueueFrame
// signals and one that StopLan signals: a queued frame goes out at once, a stop takes effect
// at once, and an idle connection costs no processor time.
#pragma once

#include <atomic>
#include <condition_variable>
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

  bool IsRunning() const { return running_.load(); }
  // The socket. While the thread runs it belongs to the thread; a configuration channel, which
  // never starts one, uses it in UDP mode on the caller's thread.
  CTCPSocket& Socket() { return socket_; }

 private:
  void Run();
  void SendQueued();
  void Finish();
  void CloseEvents();

  CTCPSocket socket_;
  std::string address_;

  std::mutex sendMutex_;
  std::deque<Bytes> sendQueue_;
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
