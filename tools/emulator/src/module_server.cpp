#include "kxemu/module_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <vector>

extern char** environ;

namespace kxemu {
namespace {

constexpr uint16_t kModulePort = 30718;

void CloseFd(int& fd) {
  if (fd >= 0)
    ::close(fd);
  fd = -1;
}

bool RunIp(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const std::string& arg : args)
    argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  pid_t pid;
  if (posix_spawnp(&pid, "ip", nullptr, nullptr, argv.data(), environ) != 0)
    return false;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

AddressMover InterfaceMover(const std::string& interface) {
  return [interface](const ModuleMove& move) {
    if (move.to == move.from)
      return true;
    const auto prefix = [](int hostBits) {
      return "/" + std::to_string(32 - std::clamp(hostBits, 0, 32));
    };
    // The new address comes first, so that the interface never stands without one and keeps
    // its routes; it must survive the old one's removal even when both share a subnet.
    std::ofstream("/proc/sys/net/ipv4/conf/" + interface + "/promote_secondaries") << "1\n";
    return RunIp({"ip", "addr", "add", kxlf::FormatIpv4(move.to) + prefix(move.hostBits), "dev",
                  interface}) &&
           RunIp({"ip", "addr", "del", kxlf::FormatIpv4(move.from) + prefix(move.fromHostBits),
                  "dev", interface});
  };
}

ModuleServer::ModuleServer(NetworkModule& module, TcpServer* tcp, AddressMover mover)
    : module_(module), tcp_(tcp), mover_(std::move(mover)) {}

ModuleServer::~ModuleServer() {
  Stop();
}

bool ModuleServer::Start(std::string* error) {
  Stop();
  const auto fail = [&](const std::string& what) {
    if (error != nullptr)
      *error = what + ": " + std::strerror(errno);
    CloseFd(socket_);
    CloseFd(wakeRead_);
    CloseFd(wakeWrite_);
    return false;
  };
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0)
    return fail("pipe");
  wakeRead_ = pipeFds[0];
  wakeWrite_ = pipeFds[1];
  socket_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (socket_ < 0)
    return fail("socket");
  const int on = 1;
  ::setsockopt(socket_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  ::setsockopt(socket_, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
  ::setsockopt(socket_, IPPROTO_IP, IP_PKTINFO, &on, sizeof on);
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_port = htons(kModulePort);
  local.sin_addr.s_addr = htonl(INADDR_ANY);
  if (::bind(socket_, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0)
    return fail("cannot bind UDP port 30718");
  thread_ = std::thread(&ModuleServer::Serve, this);
  return true;
}

void ModuleServer::Stop() {
  if (thread_.joinable()) {
    const char stop = 1;
    while (::write(wakeWrite_, &stop, 1) < 0 && errno == EINTR) {
    }
    thread_.join();
  }
  CloseFd(socket_);
  CloseFd(wakeRead_);
  CloseFd(wakeWrite_);
}

void ModuleServer::Send(const std::string& to, uint16_t port, const Bytes& datagram,
                        const std::string& from) {
  sockaddr_in target{};
  target.sin_family = AF_INET;
  target.sin_port = htons(port);
  inet_pton(AF_INET, to.c_str(), &target.sin_addr);
  iovec part = {const_cast<uint8_t*>(datagram.data()), datagram.size()};
  msghdr message{};
  message.msg_name = &target;
  message.msg_namelen = sizeof target;
  message.msg_iov = &part;
  message.msg_iovlen = 1;
  alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))] = {};
  if (!from.empty()) {
    // Answers from another address of the module's interface.
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    cmsghdr* header = CMSG_FIRSTHDR(&message);
    header->cmsg_level = IPPROTO_IP;
    header->cmsg_type = IP_PKTINFO;
    header->cmsg_len = CMSG_LEN(sizeof(in_pktinfo));
    in_pktinfo info{};
    inet_pton(AF_INET, from.c_str(), &info.ipi_spec_dst);
    std::memcpy(CMSG_DATA(header), &info, sizeof info);
  }
  ::sendmsg(socket_, &message, 0);
}

void ModuleServer::CarryOutMove() {
  const std::optional<ModuleMove> move = module_.TakeMove();
  if (!move)
    return;
  if (mover_)
    mover_(*move);
  if (tcp_ != nullptr)
    tcp_->Move(kxlf::FormatIpv4(move->to), move->port);
}

void ModuleServer::Serve() {
  uint8_t buffer[2048];
  for (;;) {
    pollfd fds[2] = {{wakeRead_, POLLIN, 0}, {socket_, POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0) {
      if (errno == EINTR)
        continue;
      return;
    }
    if (fds[0].revents & POLLIN)
      return;
    sockaddr_in sender{};
    iovec part = {buffer, sizeof buffer};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))];
    msghdr message{};
    message.msg_name = &sender;
    message.msg_namelen = sizeof sender;
    message.msg_iov = &part;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    const ssize_t count = ::recvmsg(socket_, &message, 0);
    if (count < 0)
      continue;
    bool broadcast = false;
    for (cmsghdr* header = CMSG_FIRSTHDR(&message); header != nullptr;
         header = CMSG_NXTHDR(&message, header)) {
      if (header->cmsg_level == IPPROTO_IP && header->cmsg_type == IP_PKTINFO) {
        in_pktinfo info;
        std::memcpy(&info, CMSG_DATA(header), sizeof info);
        broadcast = info.ipi_addr.s_addr == htonl(INADDR_BROADCAST);
      }
    }
    char from[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &sender.sin_addr, from, sizeof from);
    const Bytes datagram(buffer, buffer + count);
    const std::vector<Bytes> answers = module_.Receive(from, broadcast, datagram);
    const ModuleFaults faults = module_.Faults();
    if (!answers.empty() && faults.answerDelay.count() > 0) {
      pollfd wake = {wakeRead_, POLLIN, 0};
      if (::poll(&wake, 1, static_cast<int>(faults.answerDelay.count())) > 0)
        return;
    }
    for (const Bytes& answer : answers)
      Send(from, ntohs(sender.sin_port), answer, faults.answerFrom);
    CarryOutMove();
  }
}

}  // namespace kxemu
