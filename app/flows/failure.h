// Why a flow stopped: the status line to show and, when the SDK failed, its error code.
#pragma once

#include <variant>

#include "convert/messages.h"
#include "flows/status_messages.h"

namespace kx::flows {

// A reader or connection outcome, or a message of the value conversions.
using FlowMessage = std::variant<StatusMessage, convert::Message>;

struct Failure {
  FlowMessage message;
  // The connection's error code when an SDK call failed (KxLfGetLastError); 0 when the flow
  // stopped before anything was sent, e.g. on a conversion failure.
  int sdkError = 0;

  bool operator==(const Failure&) const = default;
};

// The failure of the SDK call that just returned -1 on `handle`.
Failure ReaderFailure(int handle);

// A type index outside the transponder types, reported as the type range; nothing was sent.
Failure UnknownTypeFailure();

}  // namespace kx::flows
