// The serial transport under a reader connection: a tty (RS-232, USB virtual COM port,
// pseudo-terminal) or an FTDI device driven through the D2XX library.
//
// One worker thread per open port reads every arriving byte and writes queued bytes. It waits
// on the device's descriptor and on a wake-up pipe, so a byte reaches OnByteReceived as soon as
// the driver has it, and an idle port costs no processor time. Lines without a descriptor (the
// D2XX library) are polled every millisecond instead.
//
// Queued bytes on a tty go out from the caller's thread at once, through a non-blocking
// descriptor: a thread switch before every command would cost more than a whole exchange with a
// fast reader. What the driver has no room for stays queued, and the worker sends it when the
// descriptor turns writable. On an FTDI device, whose writes may block in the library, the
// worker writes everything, without holding the queue's lock meanwhile. Either way QueueBytes
// never waits for the device.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "transport/serial_line.h"

namespace kxlf {

class CUSBSerialPort {
 public:
  CUSBSerialPort();
  virtual ~CUSBSerialPort();
  CUSBSerialPort(const CUSBSerialPort&) = delete;
  CUSBSerialPort& operator=(const CUSBSerialPort&) = delete;

  // Notification hooks, in their historical slot order; the connection overrides
  // OnByteReceived, the others are there for subclasses that watch the line.
  virtual void OnByteReceived(uint8_t) {}
  virtual void OnCtsChanged() {}
  virtual void OnUnusedNotification() {}  // keeps the slot numbers of the hooks below stable
  virtual void OnBreak() {}
  virtual void OnLineError(uint32_t /*flags*/) {}
  virtual void OnRingChanged() {}
  virtual void OnRlsdChanged() {}
  virtual void OnDsrChanged() {}
  virtual void ReadWaitingBytes(int count);
  virtual void OnBytesWritten(int /*count*/) {}
  virtual void OnTransmitEmpty() {}

  // Decides between a tty and an FTDI device. A tty is a device path (IsDevicePath: anything
  // under "/dev/", or another absolute path to a character device), or a "COMn" name
  // (optionally behind "\\.\", with anything after the digits ignored), which means
  // /dev/ttyS(n-1). Everything else is the serial number of an FTDI device.
  // Returns true for a tty; `device` receives the device path or the serial number.
  static bool ParsePortName(const std::string& name, std::string& device);

  bool OpenPort(const std::string& name, int baudRate, char parity, int dataBits, int stopBits,
                size_t writeBufferSize);
  bool StartWorker();
  // Appends bytes to the write queue and wakes the worker. A count of -1 takes `bytes` as a
  // NUL-terminated text. A request that does not fit into the queue is dropped whole.
  void QueueBytes(const uint8_t* bytes, int count);
  void ClosePort();

  // Serial ports of this machine, as "<device> [description]" entries in port-number order.
  static void ListComPorts(std::vector<std::string>& list);

  bool IsPortOpen() const { return portOpen_.load(); }
  bool IsRunning() const { return running_.load(); }
  bool IsFtdiMode() const { return ftdiMode_; }
  const std::string& PortName() const { return portName_; }

 protected:
  // Where the line comes from; tests hand in lines of their own.
  virtual std::unique_ptr<SerialLine> CreateLine(bool ftdiMode);

 private:
  void WorkerMain();
  bool PollLine();
  void WriteQueued();
  // Takes the bytes the line sent off the front of the queue; writeMutex_ is held.
  void TakeWritten(const WriteOutcome& outcome);
  void Wake();
  void CloseWakePipe();

  std::unique_ptr<SerialLine> line_;
  std::string portName_;
  bool ftdiMode_ = false;
  std::atomic<bool> portOpen_{false};

  std::thread worker_;
  std::atomic<bool> running_{false};
  std::atomic<bool> shutdown_{false};
  std::atomic<bool> writeRequested_{false};
  int wakePipe_[2] = {-1, -1};
  std::mutex startMutex_;
  std::condition_variable started_;
  bool workerStarted_ = false;
  uint64_t bytesReceived_ = 0;  // worker thread only

  std::mutex writeMutex_;
  std::vector<uint8_t> writeBuffer_;  // pending bytes; capacity fixed at open
  size_t writeCapacity_ = 0;
  // The worker is writing a copy of the queue's front without the lock; nobody else writes.
  bool writeInFlight_ = false;
  std::vector<uint8_t> sending_;  // worker thread only
  // The device had no room for the whole queue: the worker waits until it has.
  std::atomic<bool> waitingForRoom_{false};

  std::mutex configMutex_;
  uint32_t modemLines_ = 0;
};

}  // namespace kxlf
