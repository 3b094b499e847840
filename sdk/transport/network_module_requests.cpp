// The network module's requests on the socket in UDP mode, and their waits. Everything here
// runs on the caller's thread; answers are taken from the socket while the waits sleep on it.
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "link/wait_hooks.h"
#include "transport/lan_address.h"
#include "transport/tcp_socket.h"

namespace kxlf {
namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kBroadcastAddress = "255.255.255.255";
constexpr std::chrono::milliseconds kAnswerWindow{500};
constexpr std::chrono::milliseconds kResolveWindow{200};
// With a pump registered, the application gets control at least this often while waiting.
constexpr std::chrono::milliseconds kPumpInterval{10};

}  // namespace

bool CTCPSocket::OpenUdp(const std::string& host) {
  CloseUdp();
  fd_ = CreateBoundSocket(SOCK_DGRAM, 0);
  if (fd_ < 0)
    return false;
  const int on = 1;
  ::setsockopt(fd_, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
  udpMode_ = true;
  host_ = host;
  return true;
}

void CTCPSocket::CloseUdp() {
  Close();
  udpMode_ = false;
  std::lock_guard<std::mutex> lock(queueMutex_);
  datagrams_.clear();
}

std::optional<Datagram> CTCPSocket::TakeDatagram() {
  std::lock_guard<std::mutex> lock(queueMutex_);
  while (!datagrams_.empty()) {
    const Bytes entry = std::move(datagrams_.front());
    datagrams_.pop_front();
    if (std::optional<Datagram> datagram = ParseQueueEntry(entry))
      return datagram;
  }
  return std::nullopt;
}

bool CTCPSocket::SendDatagram(const std::string& destination, const Bytes& datagram) {
  const std::optional<sockaddr_in> to = SocketAddress(destination, kNetworkModulePort);
  if (fd_ < 0 || !to || datagram.empty())
    return false;
  return ::sendto(fd_, datagram.data(), datagram.size(), 0, reinterpret_cast<const sockaddr*>(&*to),
                  sizeof *to) == static_cast<ssize_t>(datagram.size());
}

bool CTCPSocket::SendToReader(const Bytes& datagram) {
  return SendDatagram(host_, datagram);
}

bool CTCPSocket::Broadcast(const Bytes& datagram) {
  return SendDatagram(kBroadcastAddress, datagram);
}

void CTCPSocket::WaitForDatagram(Clock::time_point deadline) {
  const WaitHooks hooks = CurrentWaitHooks();
  if (hooks.pump != nullptr)
    hooks.pump(hooks.context);
  Clock::time_point until = deadline;
  if (hooks.pump != nullptr)
    until = std::min(until, Clock::now() + kPumpInterval);
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now());
  if (left.count() <= 0)
    return;
  pollfd socket = {fd_, POLLIN, 0};
  if (::poll(&socket, fd_ >= 0 ? 1 : 0, static_cast<int>(left.count())) > 0)
    OnReceive();
}

template <typename Accept>
std::optional<Datagram> CTCPSocket::AwaitAnswer(Accept accept) {
  Clock::time_point windowStart = Clock::now();
  for (;;) {
    if (std::optional<Datagram> datagram = TakeDatagram()) {
      if (accept(*datagram))
        return datagram;
      windowStart = Clock::now();
      continue;
    }
    if (Clock::now() - windowStart >= kAnswerWindow)
      return std::nullopt;
    WaitForDatagram(windowStart + kAnswerWindow);
  }
}

bool CTCPSocket::ReadRecord(int record, bool broadcast, Bytes& data) {
  if (!udpMode_ || record < 0 || record >= kRecordCount)
    return false;
  const Bytes request = ReadRecordRequest(record);
  if (!(broadcast ? Broadcast(request) : SendToReader(request)))
    return false;
  const uint8_t code = ReadRecordAnswerCode(record);
  std::optional<Datagram> answer = AwaitAnswer([&](const Datagram& datagram) {
    return datagram.code == code && datagram.payload.size() >= kMinRecordSize &&
           datagram.sender == host_;
  });
  if (!answer)
    return false;
  data = std::move(answer->payload);
  return true;
}

bool CTCPSocket::WriteRecord(int record, const Bytes& data) {
  if (!udpMode_ || record < 0 || record >= kRecordCount)
    return false;
  if (!SendToReader(WriteRecordRequest(record, data)))
    return false;
  const uint8_t code = WriteRecordAnswerCode(record);
  return AwaitAnswer([code](const Datagram& datagram) { return datagram.code == code; })
      .has_value();
}

bool CTCPSocket::ReadInfo(Bytes& info) {
  if (!udpMode_ || !Broadcast(InfoRequest()))
    return false;
  std::optional<Datagram> answer = AwaitAnswer([this](const Datagram& datagram) {
    return datagram.code == kInfoAnswerCode && datagram.payload.size() >= kMinInfoSize &&
           datagram.sender == host_;
  });
  if (!answer)
    return false;
  info = std::move(answer->payload);
  return true;
}

bool CTCPSocket::SendIpSetup(const Bytes& data, bool extended) {
  return udpMode_ && Broadcast(IpSetupRequest(data, extended));
}

bool CTCPSocket::SendClosingCommand() {
  return udpMode_ && SendToReader(ClosingCommand());
}

std::string CTCPSocket::ResolveReaderName(const std::string& name) {
  const size_t open = name.find('[');
  const size_t close = name.find(']', open);
  const std::string searched =
      name.substr(open, close == std::string::npos ? std::string::npos : close - open + 1);
  if (adapters_.empty())
    GatherAdapters();
  if (!FirstAdapter())
    return {};
  do {
    std::string found;
    if (OpenUdp({}) && Broadcast(ReadRecordRequest(0))) {
      const Clock::time_point end = Clock::now() + kResolveWindow;
      while (found.empty() && Clock::now() < end) {
        std::optional<Datagram> datagram = TakeDatagram();
        if (!datagram) {
          WaitForDatagram(end);
          continue;
        }
        const Bytes& record = datagram->payload;
        if (datagram->code == kQueryAnswerCode && record.size() >= kMinRecordSize &&
            FormatIpv4(RecordAddress(record)) != datagram->sender &&
            RecordReaderName(record) == searched)
          found = datagram->sender + "-" + std::to_string(RecordPort(record));
      }
    }
    CloseUdp();
    if (!found.empty())
      return found;
  } while (NextAdapter());
  return {};
}

void CTCPSocket::SearchReaders(std::chrono::milliseconds timeout, bool identityTest,
                               ReaderList& list) {
  if (!OpenUdp({}))
    return;
  if (!Broadcast(ReadRecordRequest(0))) {
    CloseUdp();
    return;
  }
  ReaderList entries;
  Clock::time_point end = Clock::now() + timeout;
  for (;;) {
    std::optional<Datagram> datagram = TakeDatagram();
    if (!datagram) {
      if (Clock::now() >= end)
        break;
      WaitForDatagram(end);
      continue;
    }
    if (datagram->code != kQueryAnswerCode || datagram->payload.size() < kMinRecordSize)
      continue;
    entries.insert(SearchEntry(datagram->payload, datagram->sender));
    end = Clock::now() + timeout;
  }

  if (identityTest) {
    ReaderList readers;
    for (const std::string& entry : entries) {
      std::string host = HostOfName(entry);
      std::string bracketPart;
      const size_t close = host.find(']');
      if (close != std::string::npos) {
        bracketPart = host.substr(0, close + 1);
        host.erase(0, close + 1);
      }
      host_ = host;
      Bytes record;
      if (ReadRecord(2, false, record) && NamesFamilyReader(record))
        readers.insert(bracketPart.empty() ? entry : bracketPart);
    }
    entries.swap(readers);
  }
  CloseUdp();
  list.insert(entries.begin(), entries.end());
}

}  // namespace kxlf
