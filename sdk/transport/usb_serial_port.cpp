#include "transport/usb_serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <system_error>

#include "transport/ascii_case.h"
#include "transport/com_port_list.h"
#include "transport/ftdi_line.h"
#include "transport/port_name.h"
#include "transport/termios_line.h"

namespace kxlf {
namespace {

// A read refused with this code reports the general-failure flag, any other failure none.
constexpr int kAccessDenied = EACCES;

}  // namespace

CUSBSerialPort::CUSBSerialPort() = default;

CUSBSerialPort::~CUSBSerialPort() {
  ClosePort();
}

bool CUSBSerialPort::ParsePortName(const std::string& name, std::string& device) {
  size_t at = 0;
  if (name.compare(0, 4, "\\\\.\\") == 0)
    at = 4;
  if (IsDevicePath(std::string_view(name).substr(at))) {
    // The port list shows "/dev/ttyUSB0 [description]", and a stable link with the kernel name
    // behind it: "/dev/serial/by-id/... [description] (/dev/ttyACM0)". Neither is part of the
    // path, and neither is a colon left at the end by an empty device address ("COM4:" too
    // opens COM4).
    const size_t blank = std::min(name.find(" [", at), name.find(" (", at));
    device = name.substr(at, blank == std::string::npos ? std::string::npos : blank - at);
    if (!device.empty() && device.back() == ':')
      device.pop_back();
    return true;
  }
  if (EqualsAsciiNoCase(std::string_view(name).substr(at, 3), "com") && at + 3 < name.size() &&
      name[at + 3] >= '1' && name[at + 3] <= '9') {
    size_t end = at + 3;
    while (end < name.size() && std::isdigit(static_cast<unsigned char>(name[end])))
      ++end;
    const std::string digits = name.substr(at + 3, end - at - 3);
    // COM numbers beyond any real port are kept as they are; the open then simply fails.
    const unsigned long number = digits.size() > 6 ? 0 : std::stoul(digits);
    device = number == 0 ? "/dev/ttyS-" + digits : "/dev/ttyS" + std::to_string(number - 1);
    return true;
  }
  device = name.substr(at);
  return false;
}

std::unique_ptr<SerialLine> CUSBSerialPort::CreateLine(bool ftdiMode) {
  if (ftdiMode)
    return std::make_unique<FtdiLine>();
  return std::make_unique<TermiosLine>();
}

bool CUSBSerialPort::OpenPort(const std::string& name, int baudRate, char parity, int dataBits,
                              int stopBits, size_t writeBufferSize) {
  ClosePort();
  portName_ = name;
  std::string device;
  ftdiMode_ = !ParsePortName(name, device);

  CloseWakePipe();
  if (::pipe2(wakePipe_, O_CLOEXEC | O_NONBLOCK) != 0) {
    wakePipe_[0] = wakePipe_[1] = -1;
    return false;
  }
  {
    std::lock_guard<std::mutex> lock(writeMutex_);
    writeBuffer_.clear();
    writeBuffer_.reserve(writeBufferSize);
    writeCapacity_ = writeBufferSize;
    writeInFlight_ = false;
  }
  waitingForRoom_ = false;

  std::unique_lock<std::mutex> config(configMutex_);
  line_ = CreateLine(ftdiMode_);
  if (!line_ || !line_->Open(device)) {
    config.unlock();
    ClosePort();
    return false;
  }
  // A line that refuses its settings still opens; a reader that cannot be understood then
  // fails the identification.
  line_->Configure(LineSettings{baudRate, parity, dataBits, stopBits});
  portOpen_ = true;
  config.unlock();

  uint32_t lines = 0;
  if (line_->QueryModemLines(lines)) {
    modemLines_ = lines;
    if (lines & kModemRlsd)
      OnRlsdChanged();
    if (lines & kModemDsr)
      OnDsrChanged();
    if (lines & kModemCts)
      OnCtsChanged();
    if (lines & kModemRing)
      OnRingChanged();
  }
  return true;
}

bool CUSBSerialPort::StartWorker() {
  if (worker_.joinable() || !portOpen_)
    return false;
  shutdown_ = false;
  workerStarted_ = false;
  try {
    worker_ = std::thread(&CUSBSerialPort::WorkerMain, this);
  } catch (const std::system_error&) {
    return false;
  }
  std::unique_lock<std::mutex> lock(startMutex_);
  started_.wait(lock, [this] { return workerStarted_; });
  return true;
}

void CUSBSerialPort::WorkerMain() {
  {
    std::lock_guard<std::mutex> lock(startMutex_);
    running_ = true;
    workerStarted_ = true;
  }
  started_.notify_all();

  const int lineFd = line_->WaitDescriptor();
  while (portOpen_) {
    const short lineEvents = POLLIN | (waitingForRoom_ ? POLLOUT : 0);
    pollfd fds[2] = {{wakePipe_[0], POLLIN, 0}, {lineFd, lineEvents, 0}};
    const int ready = ::poll(fds, lineFd >= 0 ? 2 : 1, lineFd >= 0 ? -1 : 1);
    if (ready < 0)
      continue;  // interrupted: wait again

    if (fds[0].revents & POLLIN) {
      uint8_t drain[64];
      while (::read(wakePipe_[0], drain, sizeof drain) > 0) {
      }
    }
    if (shutdown_)
      break;
    const bool roomAgain = lineFd >= 0 ? (fds[1].revents & POLLOUT) != 0 : ready == 0;
    if (writeRequested_.exchange(false) || (roomAgain && waitingForRoom_))
      WriteQueued();

    const bool lineEvent = lineFd >= 0 ? (fds[1].revents & ~POLLOUT) != 0 : ready == 0;
    if (!lineEvent)
      continue;
    const uint64_t receivedBefore = bytesReceived_;
    bool alive = PollLine();
    // Readable with nothing waiting: either one byte slipped past the count, or the device
    // is at end of file. One probe read tells them apart.
    if (alive && lineFd >= 0 && (fds[1].revents & POLLIN) && bytesReceived_ == receivedBefore) {
      uint8_t byte;
      int errorCode = 0;
      if (line_->Read(&byte, 1, errorCode) == 1) {
        ++bytesReceived_;
        OnByteReceived(byte);
      } else {
        OnLineError(kLineGeneralFailure);
        alive = false;
      }
    }
    // A hang-up means the device is gone (unplugged, or the far end of a pseudo-terminal
    // closed); whatever it still held has just been read.
    if (lineFd >= 0 && (fds[1].revents & (POLLHUP | POLLERR | POLLNVAL))) {
      OnLineError(kLineGeneralFailure);
      alive = false;
    }
    if (!alive) {
      std::lock_guard<std::mutex> config(configMutex_);
      std::lock_guard<std::mutex> write(writeMutex_);  // no caller is writing to it
      portOpen_ = false;
      line_->Close();
      break;
    }
  }
  running_ = false;
}

bool CUSBSerialPort::PollLine() {
  LineStatus status;
  if (!line_->QueryStatus(status)) {
    OnLineError(kLineGeneralFailure);
    return false;
  }
  if (status.bytesQueued == 0)
    OnTransmitEmpty();
  uint32_t errors = status.errors;
  if (errors & kLineBreak) {
    OnBreak();
    errors &= ~kLineFrame;
  }
  constexpr uint32_t kReportedErrors =
      kLineRxOver | kLineOverrun | kLineRxParity | kLineFrame | kLineTxFull | kLineIoError;
  if (errors & kReportedErrors)
    OnLineError(errors);

  uint32_t lines = 0;
  if (!line_->QueryModemLines(lines)) {
    OnLineError(kLineGeneralFailure);
    return false;
  }
  const uint32_t changed = lines ^ modemLines_;
  modemLines_ = lines;
  if (changed & kModemCts)
    OnCtsChanged();
  if (changed & kModemDsr)
    OnDsrChanged();
  if (changed & kModemRlsd)
    OnRlsdChanged();
  if (changed & kModemRing)
    OnRingChanged();

  if (status.bytesWaiting > 0)
    ReadWaitingBytes(static_cast<int>(status.bytesWaiting));
  return true;
}

void CUSBSerialPort::ReadWaitingBytes(int count) {
  // Exactly the bytes the driver reported, so no read blocks; whatever arrived meanwhile
  // wakes the worker again.
  uint8_t buffer[512];
  while (count > 0) {
    int errorCode = 0;
    const int got =
        line_->Read(buffer, std::min(sizeof buffer, static_cast<size_t>(count)), errorCode);
    if (got < 0) {
      OnLineError(errorCode == kAccessDenied ? uint32_t{kLineGeneralFailure} : 0u);
      return;
    }
    if (got == 0)
      return;
    bytesReceived_ += static_cast<uint64_t>(got);
    for (int i = 0; i < got; ++i)
      OnByteReceived(buffer[i]);
    count -= got;
  }
}

void CUSBSerialPort::WriteQueued() {
  std::unique_lock<std::mutex> lock(writeMutex_);
  if (writeBuffer_.empty()) {
    waitingForRoom_ = false;
    OnTransmitEmpty();
    return;
  }
  // The caller may queue more meanwhile; it appends behind the bytes being sent and leaves the
  // writing to this thread while they are.
  sending_.assign(writeBuffer_.begin(), writeBuffer_.end());
  writeInFlight_ = true;
  lock.unlock();
  const WriteOutcome outcome = line_->Write(sending_.data(), sending_.size());
  lock.lock();
  writeInFlight_ = false;
  TakeWritten(outcome);
}

void CUSBSerialPort::TakeWritten(const WriteOutcome& outcome) {
  const size_t written = std::min(outcome.written, writeBuffer_.size());
  if (written > 0) {
    writeBuffer_.erase(writeBuffer_.begin(), writeBuffer_.begin() + written);
    OnBytesWritten(static_cast<int>(written));
  }
  // Only the unsent rest stays queued: sending the whole request again would repeat its first
  // part and garble the frame. A refused rest goes out with the next queued bytes; a rest the
  // device merely had no room for as soon as it has.
  waitingForRoom_ = !outcome.failed && !writeBuffer_.empty();
}

void CUSBSerialPort::QueueBytes(const uint8_t* bytes, int count) {
  if (bytes == nullptr || count < -1)
    return;
  const size_t size =
      count == -1 ? std::strlen(reinterpret_cast<const char*>(bytes)) : static_cast<size_t>(count);
  std::lock_guard<std::mutex> lock(writeMutex_);
  if (writeBuffer_.size() + size <= writeCapacity_)
    writeBuffer_.insert(writeBuffer_.end(), bytes, bytes + size);
  const bool writeHere =
      running_ && portOpen_ && !writeInFlight_ && !waitingForRoom_ && line_->WaitDescriptor() >= 0;
  if (writeHere) {
    TakeWritten(line_->Write(writeBuffer_.data(), writeBuffer_.size()));
    if (!waitingForRoom_)
      return;
  } else {
    writeRequested_ = true;
  }
  Wake();
}

void CUSBSerialPort::Wake() {
  if (wakePipe_[1] < 0)
    return;
  const uint8_t one = 1;
  // A full pipe already holds a wake-up; nothing is lost when this write fails.
  [[maybe_unused]] const ssize_t ignored = ::write(wakePipe_[1], &one, 1);
}

void CUSBSerialPort::ClosePort() {
  if (worker_.joinable()) {
    shutdown_ = true;
    Wake();
    worker_.join();
  }
  running_ = false;
  CloseWakePipe();
  std::lock_guard<std::mutex> config(configMutex_);
  if (line_)
    line_->Close();
  line_.reset();
  portOpen_ = false;
  std::lock_guard<std::mutex> lock(writeMutex_);
  writeBuffer_.clear();
  writeBuffer_.shrink_to_fit();
  writeCapacity_ = 0;
}

void CUSBSerialPort::CloseWakePipe() {
  for (int& fd : wakePipe_) {
    if (fd >= 0)
      ::close(fd);
    fd = -1;
  }
}

void CUSBSerialPort::ListComPorts(std::vector<std::string>& list) {
  std::vector<TtyPort> ports;
  if (!EnumerateTtyPorts(ports))
    ports = ProbeTtyPorts();
  list = FormatComPortList(ports);
}

}  // namespace kxlf
