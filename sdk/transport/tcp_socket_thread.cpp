#include "transport/tcp_socket_thread.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <system_error>

#include "transport/busy_guard.h"

namespace kxlf {
namespace {

constexpr std::chrono::milliseconds kStopWait{1000};

void Signal(int fd) {
  const uint64_t one = 1;
  // A failing write leaves the counter non-zero already: the thread wakes either way.
  [[maybe_unused]] const ssize_t ignored = ::write(fd, &one, sizeof one);
}

void Drain(int fd) {
  uint64_t count;
  [[maybe_unused]] const ssize_t ignored = ::read(fd, &count, sizeof count);
}

}  // namespace

CTCPSocketThread::CTCPSocketThread(CUSBSerialPort& owner) : socket_(&owner) {}

CTCPSocketThread::~CTCPSocketThread() {
  StopLan();
  if (thread_.joinable())
    thread_.join();
  CloseEvents();
}

void CTCPSocketThread::CloseEvents() {
  for (int* fd : {&sendEvent_, &stopEvent_}) {
    if (*fd >= 0)
      ::close(*fd);
    *fd = -1;
  }
}

bool CTCPSocketThread::OpenLan(const std::string& name) {
  BusyGuard busy;
  if (thread_.joinable())
    return false;
  CloseEvents();
  sendEvent_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  stopEvent_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (sendEvent_ < 0 || stopEvent_ < 0) {
    CloseEvents();
    return false;
  }
  address_ = name;
  socket_.SetStopDescriptor(stopEvent_);
  {
    std::lock_guard<std::mutex> lock(stateMutex_);
    started_ = finished_ = connected_ = false;
  }
  running_ = true;
  try {
    thread_ = std::thread(&CTCPSocketThread::Run, this);
  } catch (const std::system_error&) {
    running_ = false;
    return false;
  }
  bool connected;
  {
    std::unique_lock<std::mutex> lock(stateMutex_);
    stateChanged_.wait(lock, [this] { return started_ || finished_; });
    connected = connected_;
  }
  if (!connected)
    thread_.join();
  return connected;
}

void CTCPSocketThread::Run() {
  const bool connected = socket_.ConnectTcp(address_);
  {
    std::lock_guard<std::mutex> lock(stateMutex_);
    started_ = true;
    connected_ = connected;
  }
  stateChanged_.notify_all();
  if (!connected) {
    Finish();
    return;
  }

  for (;;) {
    pollfd fds[3] = {
        {stopEvent_, POLLIN, 0}, {sendEvent_, POLLIN, 0}, {socket_.Descriptor(), POLLIN, 0}};
    const nfds_t count = socket_.IsOpen() ? 3 : 2;
    if (::poll(fds, count, -1) < 0) {
      if (errno == EINTR)
        continue;
      break;
    }
    if (fds[0].revents & POLLIN)
      break;
    if (count == 3 && fds[2].revents != 0)
      socket_.OnReceive();
    if (fds[1].revents & POLLIN) {
      Drain(sendEvent_);
      SendQueued();
    }
  }
  Finish();
}

void CTCPSocketThread::SendQueued() {
  for (;;) {
    Bytes frame;
    {
      std::lock_guard<std::mutex> lock(sendMutex_);
      if (sendQueue_.empty())
        return;
      frame = std::move(sendQueue_.front());
      sendQueue_.pop_front();
    }
    // A frame that cannot be sent is dropped (its exchange times out); the frames behind it
    // still go, each after its own reconnect attempt.
    if (!socket_.SendFrame(frame))
      socket_.Close();
  }
}

void CTCPSocketThread::Finish() {
  socket_.Close();
  running_ = false;
  {
    std::lock_guard<std::mutex> lock(stateMutex_);
    finished_ = true;
  }
  stateChanged_.notify_all();
}

void CTCPSocketThread::QueueFrame(const Bytes& frame) {
  {
    std::lock_guard<std::mutex> lock(sendMutex_);
    sendQueue_.push_back(frame);
  }
  if (sendEvent_ >= 0)
    Signal(sendEvent_);
}

void CTCPSocketThread::StopLan() {
  if (!thread_.joinable())
    return;
  Signal(stopEvent_);
  bool finished;
  {
    std::unique_lock<std::mutex> lock(stateMutex_);
    finished = stateChanged_.wait_for(lock, kStopWait, [this] { return finished_; });
  }
  if (finished)
    thread_.join();
  std::lock_guard<std::mutex> lock(sendMutex_);
  sendQueue_.clear();
}

}  // namespace kxlf
