// Error codes that a connection stores after a failure. Codes not listed here are status bytes
// of the reader's answer, stored as they came (21: no transponder in the field). The public
// header repeats them as KXLF_ERR_ constants.
#pragma once

namespace kxlf {

constexpr int kErrNoConnection = 6;    // reported for an unknown handle, never stored
constexpr int kErrTimeout = 7;         // no complete answer in time
constexpr int kErrBufferTooSmall = 8;  // the answer does not fit into the caller's buffer
constexpr int kErrDataCount = 9;       // wrong number of data bytes for the operation
constexpr int kErrParameter = 10;      // an argument outside its range
constexpr int kErrNoSendData = 11;     // nothing to send
constexpr int kErrBlockNumber = 12;    // block outside the transponder type's range
constexpr int kErrChecksum = 14;       // XOR byte or CRC of the answer wrong
constexpr int kErrNoReader = 15;       // nobody answered at the port (negated by the open)
constexpr int kErrNoAnswer = 16;       // nothing received when the answer was taken
constexpr int kErrMode = 18;           // reader mode outside its set
constexpr int kErrVerify = 20;         // read-back after a write differs
constexpr int kStatusNoTransponder = 21;
constexpr int kErrNotSupported = 24;  // the transponder type has no such operation

}  // namespace kxlf
