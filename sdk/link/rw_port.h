// A reader connection: frames a command, hands it to its transport, waits for the answer and
// checks it. Transports deliver received bytes one at a time through OnByteReceived, from
// their own threads; everything else runs on the caller's thread.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "link/command_channel.h"
#include "link/frame_codec.h"
#include "link/wait_hooks.h"
#include "transport/hid_device.h"
#include "transport/tcp_socket_thread.h"
#include "transport/usb_serial_port.h"

namespace kxlf {

class CKX_RW_Port : public CUSBSerialPort, public CommandChannel {
 public:
  CKX_RW_Port() = default;
  ~CKX_RW_Port() override;

  // Puts the command byte and its parameters into the command buffer.
  void SetCommand(uint8_t command, const Bytes& parameters = {});
  // Frames the command buffer, sends it and waits for a complete answer frame. False with
  // the error code stored on a timeout (7), an empty command (11) or a command too long for
  // one frame (10).
  bool SendCommand();
  // Takes the received frame, checks it and delivers its payload.
  bool ReadAnswer(Bytes& payload);
  // ReadAnswer, and true only when the answer's status is 0.
  bool ReadStatus();

  void OnByteReceived(uint8_t byte) override;

  // CommandChannel: one whole exchange.
  bool Execute(uint8_t command, const Bytes& parameters, Bytes& payload,
               uint32_t timeoutOverrideMs = 0) override;
  bool ExecuteStatus(uint8_t command, const Bytes& parameters) override;
  uint32_t Timeout() const override { return timeout_; }
  uint16_t CapabilityWord() const override { return capabilityWord_; }
  void StoreError(int code) override { errorCode_ = code; }
  Bytes& KeyData() override { return keyData_; }

  void SetTimeout(uint32_t milliseconds) { timeout_ = milliseconds; }
  FrameMode Mode() const { return frameMode_; }
  void SetMode(FrameMode mode) { frameMode_ = mode; }
  void SetDeviceAddress(int address) { deviceAddress_ = address; }
  void SetCapabilityWord(uint16_t word) { capabilityWord_ = word; }
  int TypeCode() const { return typeCode_; }
  uint8_t VersionValue() const { return versionValue_; }
  void SetIdentity(int typeCode, uint8_t versionValue) {
    typeCode_ = typeCode;
    versionValue_ = versionValue;
  }
  int ErrorCode() const { return errorCode_; }
  void SetKeepWindowEnabled(bool keep) { keepWindowEnabled_ = keep; }

  // The LAN transport; its thread runs only for a connection opened by a LAN name.
  CTCPSocketThread& Lan() { return lan_; }
  // The USB HID transport; open only for a connection opened by a HID name. Polled by the
  // answer wait on the caller's thread.
  CHidDevice& Hid() { return hid_; }
  const CHidDevice& Hid() const { return hid_; }

 protected:
  // Hands a framed command to the open transport. The transport's own result is not looked
  // at: a frame that goes nowhere ends in a timeout.
  virtual void SendFrame(const Bytes& frame);

 private:
  // Sends from this thread when the LAN connection stands, queues for the socket thread
  // otherwise.
  void SendLanFrame(const Bytes& frame);
  bool WaitForAnswer();
  // Moves what the HID device delivers within `wait` into the receive buffer; the receive lock
  // must not be held.
  void PollHid(std::chrono::microseconds wait);
  // Waits until `ready` holds for the receive buffer or the phase's time is up. The lock is
  // held on entry and on return.
  template <typename Ready>
  bool WaitPhase(std::unique_lock<std::mutex>& lock, const WaitHooks& hooks, size_t awaitedSize,
                 Ready ready);

  Bytes commandBuffer_;
  Bytes receiveBuffer_;
  std::mutex receiveMutex_;
  std::condition_variable received_;
  size_t awaitedSize_ = 0;             // receive buffer size that ends the current wait phase
  std::atomic<uint64_t> arrivals_{0};  // bytes received so far; lets a waiter spin unlocked
  bool lanDirect_ = false;             // this exchange reads the LAN socket itself

  uint32_t timeout_ = 500;
  FrameMode frameMode_ = FrameMode::kXor;
  int deviceAddress_ = 1;
  uint16_t capabilityWord_ = 3;
  int typeCode_ = 0;
  uint8_t versionValue_ = 0;
  int errorCode_ = 0;
  bool keepWindowEnabled_ = false;
  Bytes keyData_;
  CHidDevice hid_;

  // Last, so that it goes first: its thread delivers into the receive buffer above.
  CTCPSocketThread lan_{*this};
};

}  // namespace kxlf
