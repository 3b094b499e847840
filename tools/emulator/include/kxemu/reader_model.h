// One emulated reader of the KX family, without any transport: request bytes go in, answer
// pieces come out, each with the pause to keep before sending it. The pty server, the TCP and
// UDP servers and the test build of the D2XX library all drive this one model.
//
// How requests are cut from the byte stream: the earliest offset in the received bytes at which
// a complete frame with a valid checksum starts is a request; a frame that begins with 0x02 and
// checks as a start-byte/XOR frame is taken in that mode, otherwise a frame that checks as a
// CRC-16 frame is taken in CRC mode. Bytes ahead of that offset are line noise and are dropped.
// Bytes that could still grow into a frame wait for more input; bytes that can no longer start
// one are dropped as soon as that is certain. A frame that is still arriving can therefore be
// overtaken only by a complete valid frame hidden inside its own first bytes.
//
// Answers travel in the frame mode of their request and carry the reader's own address.
// Requests for another address, and start-byte requests of a CRC-only reader, are recorded but
// not answered.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "kxemu/request_stream.h"
#include "kxemu/transponder.h"

namespace kxemu {

// Ways the emulated reader misbehaves on purpose. Each applies to every answer until cleared.
struct Faults {
  std::chrono::milliseconds answerDelay{0};  // pause before the first byte of an answer
  Bytes bytesBeforeFrame;                    // sent ahead of the answer frame
  bool wrongChecksum = false;                // last checksum byte flipped
  int truncateTo = -1;                       // >= 0: only this many bytes of the frame are sent
  bool silent = false;                       // requests are swallowed, nothing answers
  size_t pieceSize = 0;                      // > 0: answer split into pieces of this size ...
  std::chrono::milliseconds piecePause{0};   // ... with this pause between them
  Bytes bytesAfterFrame;                     // sent right after the answer frame
  int lengthByteOffset = 0;    // added to the length byte after framing; the checksum stays that
                               // of the true frame
  int statusOverride = -1;     // 0-255: every answer carries this status (payload unchanged)
  bool emptyPayloads = false;  // answers keep their status but carry no payload
  int swallowNext = 0;         // the next this many requests go unanswered, then answers resume
  // Set: every answer carries exactly these bytes as its payload, whatever its command gave and
  // whatever emptyPayloads says; the status is left alone (statusOverride still applies). Bytes
  // beyond the kxlf::kMaxFrameData that one frame can announce are cut off.
  std::optional<Bytes> payloadOverride;
};

struct ReaderConfig {
  uint8_t address = 1;
  std::string versionText = "054A";   // payload of the version answer
  bool answersOnlyInCrcMode = false;  // requests in XOR mode are ignored
  std::optional<Transponder> transponder;
};

enum class UsbPersonality : uint8_t { kHid = 1, kVirtualCom = 2 };

struct AnswerPiece {
  std::chrono::milliseconds pauseBefore{0};
  Bytes bytes;
};

class ReaderModel {
 public:
  static constexpr size_t kRequestLogLimit = 65536;

  explicit ReaderModel(ReaderConfig config = {});

  // Feeds bytes received from the host. Returns what the reader sends back, in order. Bytes of
  // an incomplete request are kept until the rest arrives. Thread-safe.
  std::vector<AnswerPiece> Receive(const uint8_t* data, size_t size);

  void SetFaults(const Faults& faults);
  void SetTransponder(std::optional<Transponder> transponder);
  void SetVersionText(const std::string& text);
  void SetAddress(uint8_t address);
  void SetAnswersOnlyInCrcMode(bool crcOnly);

  // Every complete request frame received so far, as received (for tests that check the
  // exact bytes the host sent), including those the reader did not answer. A long-running
  // reader keeps the most recent kRequestLogLimit of them.
  std::vector<Bytes> ReceivedRequests() const;
  void ClearReceivedRequests();

  std::optional<Transponder> CurrentTransponder() const;
  uint8_t ReaderMode() const;  // last mode set with 0xF4

  // The USB personality the reader moves into, once: 0xFF with 1 (HID) or 2 (virtual COM port)
  // chooses it and the next 0xF6 makes the reader leave the bus for it, as the firmware does.
  std::optional<UsbPersonality> TakePersonalitySwitch();
  // Waits until a switch is due and takes it; none when InterruptPersonalityWait was called.
  std::optional<UsbPersonality> WaitPersonalitySwitch();
  void InterruptPersonalityWait();
  ReaderConfig Config() const;

 private:
  void NotePersonalityCommand(uint8_t code, const Bytes& parameters);

  mutable std::mutex mutex_;
  ReaderConfig config_;
  Faults faults_;
  RequestStream stream_;
  std::deque<Bytes> received_;
  uint8_t readerMode_ = 0;
  uint8_t chosenPersonality_ = 0;  // set by 0xFF, until 0xF6
  std::optional<UsbPersonality> personalitySwitch_;
  std::condition_variable personalityChanged_;
  bool personalityWaitInterrupted_ = false;
};

}  // namespace kxemu
