#include "transport/tcp_socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "transport/lan_address.h"
#include "transport/usb_serial_port.h"

namespace kxlf {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kSocketAttempts = 6;
constexpr std::chrono::milliseconds kSocketRetryPause{200};
constexpr int kAddressInUseRetries = 5;

uint32_t AddressNumber(const std::string& dotted) {
  in_addr address{};
  inet_pton(AF_INET, dotted.c_str(), &address);
  return address.s_addr;
}

}  // namespace

CTCPSocket::~CTCPSocket() {
  Close();
}

void CTCPSocket::Close() {
  // Another thread may still sleep in poll() on the descriptor and so keep the socket alive
  // past close(); the shutdown ends the connection now and wakes that thread.
  if (fd_ >= 0 && !udpMode_)
    ::shutdown(fd_, SHUT_RDWR);
  if (fd_ >= 0)
    ::close(fd_);
  fd_ = -1;
}

void CTCPSocket::OnClose(int) {
  connected_ = false;
  Close();
}

bool CTCPSocket::StopRequested() const {
  if (stopFd_ < 0)
    return false;
  pollfd stop = {stopFd_, POLLIN, 0};
  return ::poll(&stop, 1, 0) > 0;
}

bool CTCPSocket::Pause(std::chrono::milliseconds duration) {
  const Clock::time_point end = Clock::now() + duration;
  for (;;) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - Clock::now());
    if (left.count() <= 0)
      return true;
    pollfd stop = {stopFd_, POLLIN, 0};
    if (::poll(&stop, stopFd_ >= 0 ? 1 : 0, static_cast<int>(left.count())) > 0)
      return false;
  }
}

int CTCPSocket::CreateBoundSocket(int type, int localPort) {
  const std::optional<sockaddr_in> local = SocketAddress(localAddress_, localPort);
  if (!local)
    return -1;  // no usable adapter address
  const int fd = ::socket(AF_INET, type | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0)
    return -1;
  // Before the bind, where it matters: a reconnect binds the reader's port number again while
  // the last connection on it may still linger.
  const int on = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  // Frames are small and each one waits for its answer: none may sit in the send buffer.
  if (type == SOCK_STREAM)
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  if (::bind(fd, reinterpret_cast<const sockaddr*>(&*local), sizeof *local) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

bool CTCPSocket::ConnectSocket(int fd) {
  const std::optional<sockaddr_in> remote = SocketAddress(host_, port_);
  if (!remote || port_ == 0) {
    errno = EINVAL;
    return false;
  }
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&*remote), sizeof *remote) == 0)
    return MakeBlocking(fd);
  if (errno != EINPROGRESS)
    return false;
  // The connect runs on while the thread sleeps; a stop request ends the wait.
  pollfd fds[2] = {{fd, POLLOUT, 0}, {stopFd_, POLLIN, 0}};
  for (;;) {
    const int ready = ::poll(fds, stopFd_ >= 0 ? 2 : 1, -1);
    if (ready < 0 && errno == EINTR)
      continue;
    if (ready < 0 || (fds[1].revents & POLLIN)) {
      errno = EINTR;
      return false;
    }
    if (fds[0].revents != 0)
      break;
  }
  int error = 0;
  socklen_t size = sizeof error;
  if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0)
    return false;
  errno = error;
  if (error != 0)
    return false;
  return MakeBlocking(fd);
}

bool CTCPSocket::MakeBlocking(int fd) {
  // The waiting exchange sleeps in recv() itself (ReadStreamWaiting); every other read and
  // send asks not to block.
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0)
    return false;
  receiveTimeout_ = Clock::duration::zero();
  return true;
}

bool CTCPSocket::ConnectTcp(const std::string& name) {
  const std::string resolved = name.find('[') != std::string::npos ? ResolveReaderName(name) : name;
  const HostPort target = SplitHostPort(resolved);
  host_ = target.host;
  port_ = target.port;
  SelectAdapter(host_);

  Close();
  for (int attempt = 0; attempt < kSocketAttempts && fd_ < 0; ++attempt) {
    if (attempt > 0 && !Pause(kSocketRetryPause))
      return false;
    fd_ = CreateBoundSocket(SOCK_STREAM, 0);
  }
  if (fd_ < 0)
    return false;
  for (int retry = 0;; ++retry) {
    if (ConnectSocket(fd_))
      break;
    if (errno != EADDRINUSE || retry == kAddressInUseRetries) {
      Close();
      return false;
    }
  }
  connected_ = true;
  return true;
}

bool CTCPSocket::SendFrame(const Bytes& bytes) {
  if (!connected_) {
    if (host_.empty())
      return false;
    // The reader takes a reconnect from its own port number; the socket stays for Run to close.
    Close();
    fd_ = CreateBoundSocket(SOCK_STREAM, port_);
    if (fd_ < 0 || !ConnectSocket(fd_))
      return false;
    connected_ = true;
  }
  if (!SendAll(bytes)) {
    OnClose(0);
    return false;
  }
  return true;
}

bool CTCPSocket::SendAll(const Bytes& bytes) {
  if (fd_ < 0)
    return false;
  size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t result =
        ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (result > 0) {
      sent += static_cast<size_t>(result);
      continue;
    }
    if (result < 0 && errno == EINTR)
      continue;
    if (result < 0 && errno == EAGAIN) {
      pollfd fds[2] = {{fd_, POLLOUT, 0}, {stopFd_, POLLIN, 0}};
      if (::poll(fds, stopFd_ >= 0 ? 2 : 1, -1) < 0 || (fds[1].revents & POLLIN))
        return false;
      continue;
    }
    return false;
  }
  return true;
}

void CTCPSocket::OnReceive() {
  if (fd_ < 0)
    return;
  if (!udpMode_) {
    // Everything up to the reader's close is taken now: the socket thread hears of a close
    // once only.
    StreamRead result;
    while ((result = ReadStream()) == StreamRead::kDelivered) {
    }
    // Closed by the reader or broken. The connection still counts as standing: the next send
    // fails and marks it down, the one after it reconnects.
    if (result == StreamRead::kEnded)
      Close();
    return;
  }
  uint8_t buffer[kMaxDatagramSize];

  sockaddr_in sender{};
  iovec part = {buffer, sizeof buffer};
  msghdr message{};
  message.msg_name = &sender;
  message.msg_namelen = sizeof sender;
  message.msg_iov = &part;
  message.msg_iovlen = 1;
  const ssize_t count = ::recvmsg(fd_, &message, 0);
  if (count < 0) {
    if (errno != EAGAIN && errno != EINTR)
      Close();
    return;
  }
  // A datagram longer than any the module sends is nobody's answer; it is dropped whole
  // rather than taken in part, and the socket stays open for the answers behind it.
  if (message.msg_flags & MSG_TRUNC)
    return;
  // The own broadcasts come back to the sender.
  if (sender.sin_addr.s_addr == AddressNumber(localAddress_))
    return;
  Ipv4 from;
  std::memcpy(from.data(), &sender.sin_addr, 4);
  Bytes entry = QueueEntry(from, buffer, static_cast<size_t>(count));
  std::lock_guard<std::mutex> lock(queueMutex_);
  datagrams_.push_back(std::move(entry));
}

CTCPSocket::StreamRead CTCPSocket::ReadStream() {
  return Read(MSG_DONTWAIT);
}

CTCPSocket::StreamRead CTCPSocket::ReadStreamWaiting(Clock::duration limit) {
  // The socket keeps its receive timeout from one wait to the next: a wait of about the same
  // length (every exchange's first, with the connection's answer timeout) costs no call to
  // change it. Only a limit that the kept one would overrun by more than the tolerance, or
  // one far longer than it, sets a new timeout.
  constexpr Clock::duration kTolerance = std::chrono::milliseconds(1);
  if (limit <= Clock::duration::zero())
    return StreamRead::kNothing;
  if (receiveTimeout_ == Clock::duration::zero() || receiveTimeout_ > limit + kTolerance ||
      receiveTimeout_ < limit / 2) {
    const auto micros = std::chrono::ceil<std::chrono::microseconds>(limit).count();
    const timeval timeout = {static_cast<time_t>(micros / 1000000),
                             static_cast<suseconds_t>(micros % 1000000)};
    if (::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout) != 0)
      return StreamRead::kEnded;
    receiveTimeout_ = limit;
  }
  return Read(0);
}

CTCPSocket::StreamRead CTCPSocket::DiscardPending() {
  StreamRead result;
  while ((result = Read(MSG_DONTWAIT, false)) == StreamRead::kDelivered) {
  }
  return result;
}

CTCPSocket::StreamRead CTCPSocket::Read(int flags, bool deliver) {
  if (fd_ < 0)
    return StreamRead::kEnded;
  uint8_t buffer[kMaxDatagramSize];
  const ssize_t count = ::recv(fd_, buffer, sizeof buffer, flags);
  if (count < 0 && (errno == EAGAIN || errno == EINTR))
    return StreamRead::kNothing;
  if (count <= 0)
    return StreamRead::kEnded;
  for (ssize_t i = 0; deliver && i < count; ++i)
    owner_->OnByteReceived(buffer[i]);
  return StreamRead::kDelivered;
}

bool CTCPSocket::GatherAdapters() {
  if (!ListAdapters(adapters_))
    adapters_.clear();
  return !adapters_.empty();
}

void CTCPSocket::SelectAdapter(const std::string& host) {
  if (adapters_.empty())
    GatherAdapters();
  const std::optional<int> index = BestInterfaceIndex(host);
  if (!index) {
    FirstAdapter();
    return;
  }
  const uint32_t target = AddressNumber(host);
  for (const CAdapter& adapter : adapters_) {
    const uint32_t mask = AddressNumber(adapter.mask);
    if (adapter.interfaceIndex == *index &&
        (AddressNumber(adapter.address) & mask) == (target & mask)) {
      localAddress_ = adapter.address;
      return;
    }
  }
  FirstAdapter();
}

bool CTCPSocket::FirstAdapter() {
  if (adapters_.empty())
    return false;
  localAddress_ = adapters_.front().address;
  return true;
}

bool CTCPSocket::NextAdapter() {
  if (adapters_.empty())
    return false;
  if (localAddress_.empty())
    return FirstAdapter();
  for (size_t i = 0; i < adapters_.size(); ++i) {
    if (adapters_[i].address == localAddress_) {
      if (i + 1 == adapters_.size())
        return false;
      localAddress_ = adapters_[i + 1].address;
      return true;
    }
  }
  return false;
}

}  // namespace kxlf
