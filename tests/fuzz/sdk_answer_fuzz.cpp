// Random reader answers against everything that interprets them: frame decoding in both modes,
// the version evaluation and model name, and the unique code read from a transponder.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "link/frame_codec.h"
#include "link/reader_identity.h"
#include "link/unique_code.h"

namespace {

void CheckFrame(kxlf::FrameMode mode, const uint8_t* data, size_t size) {
  const kxlf::DecodedFrame frame = kxlf::DecodeFrame(mode, data, size);
  if (frame.check != kxlf::FrameCheck::kOk)
    return;
  // A decoded frame never reaches past what was received, and re-framing it gives it back.
  if (frame.frameSize > size || frame.data.size() + kxlf::kFrameOverhead != frame.frameSize) {
    std::abort();
  }
  // The start byte is the answer wait's business, not the decoder's.
  if (mode == kxlf::FrameMode::kXor && data[0] != kxlf::kStartByte)
    return;
  const kxlf::Bytes again = kxlf::BuildFrame(mode, frame.address, frame.code, frame.data);
  if (!std::equal(again.begin(), again.end(), data))
    std::abort();
}

void CheckUniqueCode(const uint8_t* data, size_t size) {
  const kxlf::CUniqueDaten code(data, size);
  const auto value = code.Decode();
  if (!value)
    return;
  // A code that decodes re-encodes to a code of the same value.
  const kxlf::CUniqueDaten again(value->data(), value->size());
  const auto repeated = again.Decode();
  if (!repeated || *repeated != *value)
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CheckFrame(kxlf::FrameMode::kXor, data, size);
  CheckFrame(kxlf::FrameMode::kCrc16, data, size);

  const kxlf::ReaderIdentity identity = kxlf::EvaluateVersionAnswer(data, size);
  if (identity.typeCode < 0 || identity.typeCode > 0xFFF)
    std::abort();
  const std::string name = kxlf::ModelName(data, size);
  if (name.empty())
    std::abort();

  CheckUniqueCode(data, size);
  // Most inputs have neither 8 nor 5 bytes; their prefixes reach the code paths as well.
  if (size >= kxlf::CUniqueDaten::kCodeSize)
    CheckUniqueCode(data, kxlf::CUniqueDaten::kCodeSize);
  if (size >= kxlf::CUniqueDaten::kValueSize) {
    CheckUniqueCode(data, kxlf::CUniqueDaten::kValueSize);
  }
  return 0;
}
