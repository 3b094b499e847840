// The eight transponder types of the main window: what each one sends to the reader and which
// blocks it uses.
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "convert/messages.h"

namespace kx::flows {

struct TransponderType {
  int index;               // order of the type buttons; the conversions' type index
  std::string_view label;  // text of the type button
  int code;                // type argument of the SDK's transponder entry points
  bool fixedBlockZero;     // always block 0 and exactly 8 bytes, whatever the start block says
  unsigned highestStartBlock;
  int readStep;  // block number step between the blocks of one read
  bool writable;
  bool selectsByUid;  // the transponder answers only after its UID was sent back to it
};

constexpr int kTransponderTypeCount = 8;

// Bytes of the identity that every type's whole-transponder read delivers.
constexpr int kUidSize = 8;

std::span<const TransponderType> TransponderTypes();
// nullptr for an index outside 0..7.
const TransponderType* FindTransponderType(int index);

// The block the transfer starts at: 0 for Read Only and TI Read / Write, else the start block.
unsigned FirstBlock(const TransponderType& type, unsigned startBlock);

struct StartBlock {
  unsigned value = 0;
  std::optional<convert::Message> failure;  // the message box to show; the take-over fails

  bool ok() const { return !failure.has_value(); }
};

// The start block edit as the dialog takes it over: an unsigned decimal number (blanks around it
// allowed) from 0 to the type's highest start block; 255 for an unknown type.
StartBlock ValidateStartBlock(int typeIndex, std::string_view text);

}  // namespace kx::flows
