// One emulated reader of the KX family, without any transport: request bytes go in, answer
// pieces come out, each with the pause to keep before sending it. The pty server, the TCP and
// UDP servers and the test build of the D2XX library all drive this one model.
#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace kxemu {

using Bytes = std::vector<uint8_t>;

// A transponder lying in the reader's field.
struct Transponder {
  int type = 33;               // transponder type code of the reader protocol
  Bytes memory;                // block memory, block after block
  Bytes uid;                   // 8-byte identity
  std::vector<bool> locked;    // per block; a locked block refuses writes
};

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
};

struct ReaderConfig {
  uint8_t address = 1;
  std::string versionText = "054A";  // payload of the version answer
  bool answersOnlyInCrcMode = false;  // requests in XOR mode are ignored
  std::optional<Transponder> transponder;
};

struct AnswerPiece {
  std::chrono::milliseconds pauseBefore{0};
  Bytes bytes;
};

class ReaderModel {
 public:
  explicit ReaderModel(ReaderConfig config = {});

  // Feeds bytes received from the host. Returns what the reader sends back, in order. Bytes of
  // an incomplete request are kept until the rest arrives. Thread-safe.
  std::vector<AnswerPiece> Receive(const uint8_t* data, size_t size);

  void SetFaults(const Faults& faults);
  void SetTransponder(std::optional<Transponder> transponder);
  void SetVersionText(const std::string& text);

  // Every complete request frame received so far, as received (for tests that check the
  // exact bytes the host sent).
  std::vector<Bytes> ReceivedRequests() const;
  void ClearReceivedRequests();

  std::optional<Transponder> CurrentTransponder() const;
  uint8_t ReaderMode() const;  // last mode set with 0xF4

 private:
  mutable std::mutex mutex_;
  // members are the implementer's
};

}  // namespace kxemu
