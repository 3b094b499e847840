// What the transponder operations need of a connection: one command exchange at a time, the
// reader's capability word, the connection's error code and its key data. The connection
// implements it; tests replace it with a scripted channel.
#pragma once

#include <cstdint>

#include "link/frame_codec.h"

namespace kxlf {

class CommandChannel {
 public:
  virtual ~CommandChannel() = default;

  // Sends `command` with `parameters` and takes the answer's payload. `timeoutOverrideMs` > 0
  // replaces the connection's answer timeout for this one exchange. On failure the error code
  // is already stored in the connection.
  virtual bool Execute(uint8_t command, const Bytes& parameters, Bytes& payload,
                       uint32_t timeoutOverrideMs = 0) = 0;
  // Sends `command` with `parameters`; true when the answer is valid with status 0.
  virtual bool ExecuteStatus(uint8_t command, const Bytes& parameters) = 0;

  virtual uint32_t Timeout() const = 0;
  virtual uint16_t CapabilityWord() const = 0;
  virtual void StoreError(int code) = 0;
  virtual Bytes& KeyData() = 0;
};

}  // namespace kxlf
