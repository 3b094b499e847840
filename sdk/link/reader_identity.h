// What a reader says about itself in its version answer: three hexadecimal digits of type code
// and one firmware version character. From these come the model name shown to the operator and
// the capability word that selects the transponder command set. The version answer is what
// kVersionCommand brings back, hence the command codes come along.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "link/frame_codec.h"
#include "link/reader_commands.h"

namespace kxlf {

constexpr size_t kVersionAnswerSize = 4;
constexpr uint8_t kUnknownVersionValue = 255;

struct ModelRow {
  const char* name;
  int typeCode;
};

struct ReaderIdentity {
  int typeCode = 0;
  uint8_t versionValue = 0;
  uint16_t capabilityWord = 0;

  bool operator==(const ReaderIdentity&) const = default;
};

// '0'-'9' give 0-9, 'A'-'Z' 10-35, 'a'-'z' 36-61, anything else 255.
uint8_t VersionValue(uint8_t character);

// The first three bytes (fewer when `size` is smaller) read as a hexadecimal number; reading
// stops at the first byte that is no hexadecimal digit.
int TypeCodeFromText(const uint8_t* text, size_t size);

// The reader family's models, one row per type code.
std::span<const ModelRow> ModelNameTable();

// "---" for a payload shorter than 3 bytes, the table's name for a known type code, otherwise
// "KX-#" followed by the three bytes as they came.
std::string ModelName(const uint8_t* payload, size_t size);
std::string ModelName(const Bytes& payload);

uint16_t CapabilityWordFor(int typeCode, uint8_t versionValue);

// Identity taken from a version answer: 4 bytes are evaluated; a longer text answer stands for
// an old reader of fixed identity; anything shorter leaves everything 0.
ReaderIdentity EvaluateVersionAnswer(const uint8_t* payload, size_t size);
ReaderIdentity EvaluateVersionAnswer(const Bytes& payload);

}  // namespace kxlf
