#include "kxemu/hid_server.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <deque>
#include <fstream>
#include <vector>

namespace kxemu {
namespace {

using Clock = std::chrono::steady_clock;

bool Fail(std::string* error, const std::string& what) {
  if (error != nullptr)
    *error = what + ": " + std::strerror(errno);
  return false;
}

void CloseFd(int& fd) {
  if (fd >= 0)
    close(fd);
  fd = -1;
}

// The largest report either side sends, with room to spare.
constexpr size_t kPacketCapacity = 256;

}  // namespace

HidServer::HidServer(ReaderModel& model) : model_(model) {}

HidServer::~HidServer() {
  Stop();
}

bool HidServer::Start(const std::string& folder, const std::string& key,
                      const HidIdentity& identity, std::string* error) {
  Stop();
  identity_ = identity;
  socketPath_ = folder + "/" + key + ".sock";
  infoPath_ = folder + "/" + key + ".info";
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (socketPath_.size() >= sizeof(address.sun_path)) {
    errno = ENAMETOOLONG;
    socketPath_.clear();
    return Fail(error, "bus folder path too long");
  }
  std::memcpy(address.sun_path, socketPath_.c_str(), socketPath_.size() + 1);
  unlink(socketPath_.c_str());
  listen_ = socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
  int wake[2];
  if (listen_ < 0 || bind(listen_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(listen_, 4) != 0 || pipe2(wake, O_CLOEXEC) != 0) {
    const bool failed = Fail(error, "cannot serve on " + socketPath_);
    CloseFd(listen_);
    unlink(socketPath_.c_str());
    socketPath_.clear();
    return failed;
  }
  wakeRead_ = wake[0];
  wakeWrite_ = wake[1];
  // The info file appears last and in one step: whoever finds it can connect.
  const std::string temporary = infoPath_ + ".new";
  {
    std::ofstream out(temporary);
    out << FormatHidIdentity(identity_);
  }
  if (rename(temporary.c_str(), infoPath_.c_str()) != 0) {
    const bool failed = Fail(error, "cannot write " + infoPath_);
    unlink(temporary.c_str());
    serving_ = false;
    Stop();
    return failed;
  }
  serving_ = true;
  thread_ = std::thread([this] { Serve(); });
  return true;
}

void HidServer::Stop() {
  if (!infoPath_.empty())
    unlink(infoPath_.c_str());
  if (thread_.joinable()) {
    const char stop = 1;
    [[maybe_unused]] ssize_t written = write(wakeWrite_, &stop, 1);
    thread_.join();
  }
  serving_ = false;
  CloseFd(listen_);
  CloseFd(wakeRead_);
  CloseFd(wakeWrite_);
  if (!socketPath_.empty())
    unlink(socketPath_.c_str());
  socketPath_.clear();
  infoPath_.clear();
}

bool HidServer::IsRunning() const {
  return serving_;
}

void HidServer::Serve() {
  std::vector<int> hosts;
  struct Due {
    Clock::time_point at;
    Bytes bytes;
  };
  std::deque<Due> due;
  Clock::time_point lastDue{};
  for (;;) {
    std::vector<pollfd> fds{{wakeRead_, POLLIN, 0}, {listen_, POLLIN, 0}};
    for (int host : hosts)
      fds.push_back({host, POLLIN, 0});
    int timeoutMs = -1;
    if (!due.empty()) {
      const auto wait = std::chrono::ceil<std::chrono::milliseconds>(due.front().at - Clock::now());
      timeoutMs = static_cast<int>(std::max<int64_t>(wait.count(), 0));
    }
    if (poll(fds.data(), fds.size(), timeoutMs) < 0 && errno != EINTR)
      break;
    if (fds[0].revents != 0)
      break;
    if ((fds[1].revents & POLLIN) != 0) {
      const int host = accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC);
      if (host >= 0)
        hosts.push_back(host);
    }
    for (size_t i = 2; i < fds.size(); ++i) {
      if (fds[i].revents == 0)
        continue;
      uint8_t packet[kPacketCapacity];
      const ssize_t size = recv(fds[i].fd, packet, sizeof packet, 0);
      if (size <= 0) {
        close(fds[i].fd);
        hosts.erase(std::find(hosts.begin(), hosts.end(), fds[i].fd));
        continue;
      }
      const OutputReport report =
          ParseOutputReport(packet, static_cast<size_t>(size), identity_.outputLength);
      if (report.kind != OutputReport::Kind::kData)
        continue;
      Clock::time_point at = std::max(Clock::now(), lastDue);
      for (AnswerPiece& piece : model_.Receive(report.data.data(), report.data.size())) {
        at += piece.pauseBefore;
        due.push_back({at, std::move(piece.bytes)});
      }
      lastDue = at;
    }
    const Clock::time_point now = Clock::now();
    while (!due.empty() && due.front().at <= now) {
      for (const Bytes& report : InputReports(due.front().bytes, identity_.inputLength)) {
        for (int host : hosts)
          send(host, report.data(), report.size(), MSG_NOSIGNAL);
      }
      due.pop_front();
    }
  }
  for (int host : hosts)
    close(host);
  serving_ = false;
}

}  // namespace kxemu
