#include "kxemu/transponder.h"

#include <cmath>
#include <numbers>

#include "link/transponder_types.h"

namespace kxemu {

namespace {
// A type whose block range the protocol leaves open gets as many blocks as types 17 and 18.
constexpr size_t kUnlistedTypeBlockCount = 16;
}  // namespace

size_t BlockUnit(int type) {
  return static_cast<size_t>(kxlf::ExtendedBlockSize(type));
}

size_t DefaultBlockCount(int type) {
  const int last = kxlf::LastBlockNumber(type);
  return last < 0 ? kUnlistedTypeBlockCount : static_cast<size_t>(last) + 1;
}

Transponder MakeTransponder(int type, size_t blocks) {
  Transponder transponder;
  transponder.type = type;
  if (blocks == 0)
    blocks = DefaultBlockCount(type);
  transponder.memory.assign(blocks * BlockUnit(type), 0);
  transponder.locked.assign(blocks, false);
  transponder.uid = {0xE0, 0x04, 0x01, 0x00, 0x12, 0x34, 0x56, static_cast<uint8_t>(type)};
  if (type == 10)
    transponder.configRecord = {0x0A, 0x00, 0x01, 0x00, 0x10, 0x20, 0x30, 0x40};
  if (type == 38) {
    // Identity first, CTune at byte 8 (filled in when the record is read), three flag bytes.
    transponder.configRecord = transponder.uid;
    transponder.configRecord.insert(transponder.configRecord.end(), {0x00, 0x01, 0x00, 0x00});
  }
  return transponder;
}

size_t BlockCount(const Transponder& transponder) {
  return transponder.memory.size() / BlockUnit(transponder.type);
}

bool IsLocked(const Transponder& transponder, size_t block) {
  return block < transponder.locked.size() && transponder.locked[block];
}

double ResonanceFrequencyHz(const ResonanceCircuit& circuit, uint8_t ctune, int setting) {
  const double capacitance = circuit.baseCapacitanceF + ctune * circuit.ctuneStepF +
                             (setting != 0 ? circuit.settingCapacitanceF : 0.0);
  return circuit.frequencyScale /
         (2.0 * std::numbers::pi * std::sqrt(circuit.inductanceH * capacitance));
}

}  // namespace kxemu
