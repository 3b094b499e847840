#include "transport/tcp_socket_thread.h"

#include <poll.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <system_error>

#include "transport/busy_guard.h"

namespace kxlf {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::chrono::milliseconds kStopWait{1000};

// What woke the thread.
constexpr uint32_t kStopTag = 0;
constexpr uint32_t kSendTag = 1;
constexpr uint32_t kSocketTag = 2;

// What the thread hears of its socket: everything while it waits for the answers to frames it
// sent itself, otherwise only the reader's close and errors, once each. Data arriving between
// exchanges is not worth a wake-up: the next exchange discards it before it sends.
constexpr uint32_t kDataEvents = EPOLLIN | EPOLLRDHUP;
constexpr uint32_t kCloseEvents = EPOLLRDHUP | EPOLLET;

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
  for (int* fd : {&events_, &sendEvent_, &stopEvent_}) {
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
  events_ = ::epoll_create1(EPOLL_CLOEXEC);
  sendEvent_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  stopEvent_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (events_ < 0 || sendEvent_ < 0 || stopEvent_ < 0 || !Watch(stopEvent_, kStopTag) ||
      !Watch(sendEvent_, kSendTag)) {
    CloseEvents();
    return false;
  }
  address_ = name;
  socket_.SetStopDescriptor(stopEvent_);
  {
    std::lock_guard<std::mutex> io(ioMutex_);
    callerReads_ = listening_ = recheck_ = false;
  }
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

bool CTCPSocketThread::Watch(int fd, uint32_t tag, uint32_t events) {
  epoll_event event{};
  event.events = events;
  event.data.u32 = tag;
  if (::epoll_ctl(events_, EPOLL_CTL_MOD, fd, &event) == 0)
    return true;
  return errno == ENOENT && ::epoll_ctl(events_, EPOLL_CTL_ADD, fd, &event) == 0;
}

bool CTCPSocketThread::WatchSocket(bool forData) {
  // A closed socket has left the set by itself; a new one (after a reconnect) joins here.
  if (!socket_.IsOpen() ||
      !Watch(socket_.Descriptor(), kSocketTag, forData ? kDataEvents : kCloseEvents))
    return false;
  listening_ = forData;
  return true;
}

void CTCPSocketThread::Run() {
  const bool connected = socket_.ConnectTcp(address_);
  if (connected) {
    std::lock_guard<std::mutex> io(ioMutex_);
    WatchSocket(false);
  }
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
    epoll_event ready[3];
    const int count = ::epoll_wait(events_, ready, 3, -1);
    if (count < 0) {
      if (errno == EINTR)
        continue;
      break;
    }
    bool stop = false;
    bool readable = false;
    for (int i = 0; i < count; ++i) {
      if (ready[i].data.u32 == kStopTag)
        stop = true;
      else if (ready[i].data.u32 == kSendTag)
        Drain(sendEvent_);
      else
        readable = true;
    }
    if (stop)
      break;
    std::lock_guard<std::mutex> io(ioMutex_);
    if (callerReads_) {
      // The reader closed the connection or it broke while an exchange reads for itself: the
      // socket is this thread's again when the exchange ends.
      if (readable)
        recheck_ = true;
      continue;
    }
    if (readable || recheck_)
      socket_.OnReceive();
    recheck_ = false;
    // The answers to frames sent from here come through this thread.
    if (SendQueued())
      WatchSocket(true);
  }
  Finish();
}

bool CTCPSocketThread::SendQueued() {
  bool sent = false;
  for (;;) {
    Bytes frame;
    {
      std::lock_guard<std::mutex> lock(sendMutex_);
      if (sendQueue_.empty())
        return sent;
      frame = std::move(sendQueue_.front());
      sendQueue_.pop_front();
    }
    // A frame that cannot be sent is dropped (its exchange times out); the frames behind it
    // still go, each after its own reconnect attempt.
    if (!listening_)
      DropUnheard();
    if (socket_.SendFrame(frame))
      sent = true;
    else
      socket_.Close();
  }
}

void CTCPSocketThread::DropUnheard() {
  // Bytes that came while nobody listened belong to no exchange: the receive buffer that they
  // would have gone to has just been cleared. A close seen here ends the socket, as the thread
  // would have; the send after it then fails and marks the connection down.
  if (socket_.IsOpen() && socket_.DiscardPending() == CTCPSocket::StreamRead::kEnded)
    socket_.Close();
}

CTCPSocketThread::DirectSend CTCPSocketThread::SendDirect(const Bytes& frame) {
  // A thread busy with the socket (a reconnect may take long) keeps it: the frame is queued.
  std::unique_lock<std::mutex> io(ioMutex_, std::try_to_lock);
  if (!io.owns_lock() || !running_.load() || !socket_.IsOpen() || !socket_.IsConnected())
    return DirectSend::kNotTaken;
  {
    // Frames still queued go first, and from the thread.
    std::lock_guard<std::mutex> lock(sendMutex_);
    if (!sendQueue_.empty())
      return DirectSend::kNotTaken;
  }
  // The answer must wake only this thread.
  if (listening_ && !WatchSocket(false))
    return DirectSend::kNotTaken;
  DropUnheard();
  // Connected: no reconnect, only the send and, when it fails, the connection marked down.
  if (!socket_.SendFrame(frame))
    return DirectSend::kFailed;
  callerReads_ = true;
  return DirectSend::kSent;
}

CTCPSocketThread::DirectWait CTCPSocketThread::ReceiveDirect(Clock::time_point until) {
  bool reading;
  {
    std::lock_guard<std::mutex> io(ioMutex_);
    reading = callerReads_ && socket_.IsOpen();
  }
  if (!reading) {
    // Closed by StopLan from within the application's pump, or given back already.
    EndDirect();
    return DirectWait::kEnded;
  }
  switch (socket_.ReadStreamWaiting(until - Clock::now())) {
    case CTCPSocket::StreamRead::kDelivered:
      return DirectWait::kReceived;
    case CTCPSocket::StreamRead::kNothing:
      return DirectWait::kTimedOut;
    case CTCPSocket::StreamRead::kEnded:
      break;
  }
  {
    // The socket thread sees the end again and closes the socket, as it would have anyway.
    std::lock_guard<std::mutex> io(ioMutex_);
    recheck_ = true;
  }
  EndDirect();
  return DirectWait::kEnded;
}

void CTCPSocketThread::EndDirect() {
  bool wake;
  {
    std::lock_guard<std::mutex> io(ioMutex_);
    if (!callerReads_)
      return;
    callerReads_ = false;
    wake = recheck_;
  }
  {
    std::lock_guard<std::mutex> lock(sendMutex_);
    wake = wake || !sendQueue_.empty();
  }
  if (wake)
    Signal(sendEvent_);
}

void CTCPSocketThread::Finish() {
  {
    std::lock_guard<std::mutex> io(ioMutex_);
    socket_.Close();
  }
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
