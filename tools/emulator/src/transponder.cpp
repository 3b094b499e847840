#include "kxemu/transponder.h"

#include <cmath>
#include <numbers>

namespace kxemu {

size_t BlockUnit(int type) {
  switch (type) {
    case 11:
      return 1;
    case 15:
      return 2;
    case 33:
    case 34:
    case 35:
    case 37:
      return 8;
    default:
      return 4;
  }
}

size_t DefaultBlockCount(int type) {
  switch (type) {
    case 2:
    case 3:
    case 13:
      return 8;
    case 4:
    case 5:
    case 7:
    case 8:
    case 14:
    case 16:
      return 64;
    case 6:
      return 35;
    case 9:
      return 12;
    case 10:
      return 256;
    case 11:
      return 17;
    case 12:
      return 44;
    case 15:
      return 640;
    default:
      return 16;
  }
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
  return 1.0 / (2.0 * std::numbers::pi * std::sqrt(circuit.inductanceH * capacitance));
}

}  // namespace kxemu
