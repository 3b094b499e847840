#include "link/rw_port.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "link/error_codes.h"
#include "link/wait_hooks.h"

namespace kxlf {
namespace {

using Clock = std::chrono::steady_clock;

// With a pump registered, the wait hands control to the application at least this often, so
// its window stays painted and its timers run while a command waits.
constexpr std::chrono::milliseconds kPumpInterval{10};

// How long a wait without a pump stays awake before it sleeps until the answer's last byte.
constexpr std::chrono::microseconds kSpinBeforeSleep{200};

// A HID device has no thread of its own: the wait reads it, sleeping in the library's poll() for
// at most this long, so a report is taken up as it arrives and a long wait costs one wake-up
// per slice.
constexpr std::chrono::milliseconds kHidWaitSlice{1};
// Old input is drained in reads of this size before a command goes out.
constexpr int kHidDrainCapacity = 10;
// Each poll during the wait takes up to this many bytes of one report.
constexpr int kHidPollCapacity = 100;

}  // namespace

CKX_RW_Port::~CKX_RW_Port() {
  // The worker and the socket thread call OnByteReceived; they must be gone before this
  // object is.
  ClosePort();
  lan_.StopLan();
}

void CKX_RW_Port::SetCommand(uint8_t command, const Bytes& parameters) {
  commandBuffer_.assign(1, command);
  commandBuffer_.insert(commandBuffer_.end(), parameters.begin(), parameters.end());
}

bool CKX_RW_Port::SendCommand() {
  if (commandBuffer_.size() > 1 + kMaxFrameData) {
    // The length travels in one byte; anything longer would go out with a wrong length.
    commandBuffer_.clear();
    errorCode_ = kErrParameter;
    return false;
  }
  if (commandBuffer_.empty()) {
    errorCode_ = kErrNoSendData;
    return false;
  }
  const Bytes frame =
      BuildFrame(frameMode_, static_cast<uint8_t>(deviceAddress_ & 0xFF), commandBuffer_[0],
                 commandBuffer_.data() + 1, commandBuffer_.size() - 1);
  {
    std::lock_guard<std::mutex> lock(receiveMutex_);
    receiveBuffer_.clear();
    // A late answer to an earlier command must not be taken for this one's.
    uint8_t discarded[kHidDrainCapacity];
    while (hid_.IsOpen() && hid_.ReadInput(discarded, kHidDrainCapacity) > 0) {
    }
  }
  SendFrame(frame);
  commandBuffer_.clear();
  if (!WaitForAnswer()) {
    errorCode_ = kErrTimeout;
    return false;
  }
  return true;
}

void CKX_RW_Port::SendFrame(const Bytes& frame) {
  if (IsPortOpen())
    QueueBytes(frame.data(), static_cast<int>(frame.size()));
  else if (lan_.IsRunning())
    SendLanFrame(frame);
  else if (hid_.IsOpen())
    hid_.WriteFrame(frame.data(), frame.size());
}

void CKX_RW_Port::SendLanFrame(const Bytes& frame) {
  switch (lan_.SendDirect(frame)) {
    case CTCPSocketThread::DirectSend::kSent:
      lanDirect_ = true;
      break;
    case CTCPSocketThread::DirectSend::kFailed:
      break;
    case CTCPSocketThread::DirectSend::kNotTaken:
      lan_.QueueFrame(frame);
      break;
  }
}

void CKX_RW_Port::PollHid(std::chrono::microseconds wait) {
  const int waitMs = static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(wait).count());
  uint8_t data[kHidPollCapacity];
  const int count = hid_.ReadInput(data, kHidPollCapacity, std::max(waitMs, 0));
  for (int i = 0; i < count; ++i)
    OnByteReceived(data[i]);
}

template <typename Ready>
bool CKX_RW_Port::WaitPhase(std::unique_lock<std::mutex>& lock, const WaitHooks& hooks,
                            size_t awaitedSize, Ready ready) {
  const Clock::time_point start = Clock::now();
  const Clock::time_point deadline = start + std::chrono::milliseconds(timeout_);
  awaitedSize_ = awaitedSize;
  Clock::time_point nextPump = start;
  for (;;) {
    if (ready())
      return true;
    const Clock::time_point now = Clock::now();
    if (now >= deadline)
      return false;
    if (lanDirect_) {
      // The answer comes straight from the socket, read by this thread.
      lock.unlock();
      Clock::time_point until = deadline;
      if (hooks.pump != nullptr) {
        hooks.pump(hooks.context);
        until = std::min(deadline, Clock::now() + kPumpInterval);
      }
      if (lan_.ReceiveDirect(until) == CTCPSocketThread::DirectWait::kEnded)
        lanDirect_ = false;  // the rest of the wait hears from the socket thread
      lock.lock();
      continue;
    }
    if (hid_.IsOpen()) {
      lock.unlock();
      if (hooks.pump != nullptr && now >= nextPump) {
        hooks.pump(hooks.context);
        nextPump = Clock::now() + kPumpInterval;
      }
      const auto left =
          std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now());
      PollHid(
          std::clamp(left, std::chrono::microseconds{0}, std::chrono::microseconds{kHidWaitSlice}));
      lock.lock();
      continue;
    }
    if (hooks.pump == nullptr) {
      if (IsPortOpen() && now - start < kSpinBeforeSleep) {
        // A reader on a fast serial line answers within tens of microseconds; staying awake that
        // long saves the wake-up of a sleeping thread, which would cost more than the
        // exchange itself. Other threads (the port's worker among them) get the processor.
        lock.unlock();
        const uint64_t seen = arrivals_.load(std::memory_order_acquire);
        while (arrivals_.load(std::memory_order_acquire) == seen &&
               Clock::now() - start < kSpinBeforeSleep)
          std::this_thread::yield();
        lock.lock();
        continue;
      }
      received_.wait_until(lock, deadline);
      continue;
    }
    lock.unlock();
    hooks.pump(hooks.context);
    lock.lock();
    if (ready())
      return true;
    received_.wait_until(lock, std::min(deadline, Clock::now() + kPumpInterval));
  }
}

bool CKX_RW_Port::WaitForAnswer() {
  const WaitHooks hooks = CurrentWaitHooks();
  void* windowState = nullptr;
  const bool lockWindow =
      !keepWindowEnabled_ && hooks.lockWindow != nullptr && hooks.unlockWindow != nullptr;
  if (lockWindow)
    windowState = hooks.lockWindow(hooks.context);

  bool complete;
  {
    std::unique_lock<std::mutex> lock(receiveMutex_);
    // Each phase has the whole timeout: an answer that trickles in may take up to three.
    complete = WaitPhase(lock, hooks, 4, [this] { return receiveBuffer_.size() >= 4; });
    if (complete && frameMode_ == FrameMode::kXor) {
      complete = WaitPhase(lock, hooks, 4, [this] {
        // Bytes ahead of the start byte (line noise, a late answer's tail) are dropped.
        while (receiveBuffer_.size() >= 4 && receiveBuffer_[0] != kStartByte)
          receiveBuffer_.erase(receiveBuffer_.begin());
        return receiveBuffer_.size() >= 4;
      });
    }
    if (complete) {
      const size_t frameSize = receiveBuffer_[LengthOffset(frameMode_)] + kFrameOverhead;
      complete =
          WaitPhase(lock, hooks, frameSize, [&] { return receiveBuffer_.size() >= frameSize; });
    }
  }

  if (lanDirect_) {
    lan_.EndDirect();
    lanDirect_ = false;
  }
  if (lockWindow)
    hooks.unlockWindow(hooks.context, windowState);
  return complete;
}

bool CKX_RW_Port::ReadAnswer(Bytes& payload) {
  Bytes answer;
  {
    std::lock_guard<std::mutex> lock(receiveMutex_);
    answer.swap(receiveBuffer_);
  }
  const DecodedFrame frame = DecodeFrame(frameMode_, answer);
  switch (frame.check) {
    case FrameCheck::kEmpty:
      errorCode_ = kErrNoAnswer;
      return false;
    case FrameCheck::kIncomplete:
      return false;
    case FrameCheck::kBadChecksum:
      errorCode_ = kErrChecksum;
      return false;
    case FrameCheck::kOk:
      break;
  }
  if (frame.code != 0) {
    errorCode_ = frame.code;
    return false;
  }
  payload = frame.data;
  return true;
}

bool CKX_RW_Port::ReadStatus() {
  Bytes scratch;
  return ReadAnswer(scratch);
}

void CKX_RW_Port::OnByteReceived(uint8_t byte) {
  bool wake;
  {
    std::lock_guard<std::mutex> lock(receiveMutex_);
    receiveBuffer_.push_back(byte);
    arrivals_.fetch_add(1, std::memory_order_release);
    // The waiter only needs to hear of the byte that completes what it waits for.
    wake = receiveBuffer_.size() >= awaitedSize_;
  }
  if (wake)
    received_.notify_one();
}

bool CKX_RW_Port::Execute(uint8_t command, const Bytes& parameters, Bytes& payload,
                          uint32_t timeoutOverrideMs) {
  const uint32_t previous = timeout_;
  if (timeoutOverrideMs > 0)
    timeout_ = timeoutOverrideMs;
  SetCommand(command, parameters);
  const bool ok = SendCommand() && ReadAnswer(payload);
  timeout_ = previous;
  return ok;
}

bool CKX_RW_Port::ExecuteStatus(uint8_t command, const Bytes& parameters) {
  SetCommand(command, parameters);
  return SendCommand() && ReadStatus();
}

}  // namespace kxlf
