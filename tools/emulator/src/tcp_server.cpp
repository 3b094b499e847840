#include "kxemu/tcp_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace kxemu {
namespace {

void CloseFd(int& fd) {
  if (fd >= 0)
    ::close(fd);
  fd = -1;
}

bool Fail(std::string* error, const std::string& what) {
  if (error != nullptr)
    *error = what + ": " + std::strerror(errno);
  return false;
}

}  // namespace

TcpServer::TcpServer(ReaderModel& model) : model_(model) {}

TcpServer::~TcpServer() {
  Stop();
}

bool TcpServer::Listen(const std::string& address, uint16_t port, std::string* error) {
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_port = htons(port);
  if (inet_pton(AF_INET, address.c_str(), &local.sin_addr) != 1) {
    errno = EINVAL;
    return Fail(error, "not a dotted address: " + address);
  }
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0)
    return Fail(error, "socket");
  const int on = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  if (::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 || ::listen(fd, 8) != 0) {
    const bool failed = Fail(error, "cannot listen on " + address + ":" + std::to_string(port));
    ::close(fd);
    return failed;
  }
  CloseFd(listener_);
  listener_ = fd;
  std::lock_guard lock(mutex_);
  address_ = address;
  port_ = port;
  return true;
}

bool TcpServer::Start(const std::string& address, uint16_t port, std::string* error) {
  Stop();
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0)
    return Fail(error, "pipe");
  wakeRead_ = pipeFds[0];
  wakeWrite_ = pipeFds[1];
  if (!Listen(address, port, error)) {
    CloseFd(wakeRead_);
    CloseFd(wakeWrite_);
    return false;
  }
  thread_ = std::thread(&TcpServer::Serve, this);
  return true;
}

void TcpServer::Stop() {
  if (thread_.joinable()) {
    Send(Command::kStop);
    thread_.join();
  }
  CloseClient();
  CloseFd(listener_);
  CloseFd(wakeRead_);
  CloseFd(wakeWrite_);
}

void TcpServer::Send(Command command) {
  const char byte = static_cast<char>(command);
  while (::write(wakeWrite_, &byte, 1) < 0 && errno == EINTR) {
  }
}

void TcpServer::Move(const std::string& address, uint16_t port) {
  {
    std::lock_guard lock(mutex_);
    moveAddress_ = address;
    movePort_ = port;
  }
  Send(Command::kMove);
}

void TcpServer::DropConnection() {
  Send(Command::kDrop);
}

void TcpServer::SetCloseAfterAnswers(int answers) {
  std::lock_guard lock(mutex_);
  closeAfterAnswers_ = answers;
}

std::vector<TcpPeer> TcpServer::Peers() const {
  std::lock_guard lock(mutex_);
  return peers_;
}

std::string TcpServer::Address() const {
  std::lock_guard lock(mutex_);
  return address_;
}

uint16_t TcpServer::Port() const {
  std::lock_guard lock(mutex_);
  return port_;
}

void TcpServer::CloseClient() {
  CloseFd(client_);
  answersOnConnection_ = 0;
}

bool TcpServer::Answer(const uint8_t* data, size_t size) {
  for (const AnswerPiece& piece : model_.Receive(data, size)) {
    if (piece.pauseBefore.count() > 0) {
      pollfd wake = {wakeRead_, POLLIN, 0};
      if (::poll(&wake, 1, static_cast<int>(piece.pauseBefore.count())) > 0)
        return true;  // a command waits; the rest of the answer is not sent
    }
    size_t sent = 0;
    while (sent < piece.bytes.size()) {
      const ssize_t n =
          ::send(client_, piece.bytes.data() + sent, piece.bytes.size() - sent, MSG_NOSIGNAL);
      if (n < 0 && errno == EINTR)
        continue;
      if (n <= 0)
        return false;
      sent += static_cast<size_t>(n);
    }
    ++answersOnConnection_;
  }
  std::lock_guard lock(mutex_);
  return closeAfterAnswers_ == 0 || answersOnConnection_ < closeAfterAnswers_;
}

void TcpServer::Serve() {
  uint8_t buffer[1024];
  for (;;) {
    const int watched = client_ >= 0 ? client_ : listener_;
    pollfd fds[2] = {{wakeRead_, POLLIN, 0}, {watched, POLLIN, 0}};
    if (::poll(fds, watched >= 0 ? 2 : 1, -1) < 0) {
      if (errno == EINTR)
        continue;
      return;
    }
    if (fds[0].revents & POLLIN) {
      char command = 0;
      if (::read(wakeRead_, &command, 1) != 1)
        return;
      switch (static_cast<Command>(command)) {
        case Command::kStop:
          return;
        case Command::kDrop:
          CloseClient();
          break;
        case Command::kMove: {
          std::string address;
          uint16_t port;
          {
            std::lock_guard lock(mutex_);
            address = moveAddress_;
            port = movePort_;
          }
          CloseClient();
          CloseFd(listener_);
          Listen(address, port, nullptr);
          break;
        }
      }
      continue;
    }
    if (fds[1].revents == 0)
      continue;
    if (client_ < 0) {
      sockaddr_in peer{};
      socklen_t size = sizeof peer;
      client_ = ::accept4(listener_, reinterpret_cast<sockaddr*>(&peer), &size, SOCK_CLOEXEC);
      if (client_ < 0)
        continue;
      const int on = 1;
      ::setsockopt(client_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
      char text[INET_ADDRSTRLEN] = {};
      inet_ntop(AF_INET, &peer.sin_addr, text, sizeof text);
      std::lock_guard lock(mutex_);
      peers_.push_back({text, ntohs(peer.sin_port)});
      continue;
    }
    const ssize_t count = ::recv(client_, buffer, sizeof buffer, 0);
    if (count < 0 && errno == EINTR)
      continue;
    if (count <= 0 || !Answer(buffer, static_cast<size_t>(count)))
      CloseClient();
  }
}

}  // namespace kxemu
