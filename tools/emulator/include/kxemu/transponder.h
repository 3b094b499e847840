// The transponder lying in an emulated reader's field: block memory, identity, locks, and the
// chip registers that the chip tools reach (configuration records, HDX+ configuration byte,
// SIC7999 tuning).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kxemu {

using Bytes = std::vector<uint8_t>;

// The SIC7999 resonance circuit as a plain LC tank: the CTune value adds capacitance in equal
// steps and frequency setting 1 switches in one more capacitor, so the resonance falls as CTune
// rises and setting 1 lies below setting 0. The defaults put CTune 61 near 134.6 kHz with
// setting 0 and near 124.2 kHz with setting 1, where a typical chip comes from the factory.
struct ResonanceCircuit {
  double inductanceH = 2.5e-3;
  double baseCapacitanceF = 455e-12;      // at CTune 0, setting 0
  double ctuneStepF = 1.7e-12;            // per CTune step
  double settingCapacitanceF = 97.6e-12;  // switched in by frequency setting 1
  // Every frequency times this: a coil wound a few percent off detunes the whole curve, so that
  // no CTune reaches the target.
  double frequencyScale = 1.0;
};

// How the chip's measurements misbehave on purpose.
struct MeasurementFaults {
  // Measurements alternate between this much above and below the resonance, as with a chip
  // that lies at the edge of the field; from 50 Hz on two of them never agree.
  int unsteadyHz = 0;
  // The next this many measurement requests fail with the empty-field status. The host library
  // tries each measurement three times, so three of them fail one measurement.
  int failures = 0;
  // Measurements succeed with a payload of one byte, too short to hold a period.
  bool withoutFrequency = false;
};

struct Transponder {
  int type = 33;             // transponder type code of the reader protocol
  Bytes memory;              // block memory, block after block (block size: BlockUnit(type))
  Bytes uid;                 // 8-byte identity; what a whole-transponder read delivers
  std::vector<bool> locked;  // per block; a locked block refuses writes; missing = unlocked
  Bytes configRecord;        // types 10 and 38: the configuration record
  uint8_t chipConfig = 0;    // configuration byte of chip codes 35 and 37
  uint8_t ctune = 64;        // SIC7999 tuning value; byte 8 of the type-38 record
  ResonanceCircuit circuit;  // SIC7999 resonance, measured with 0xC4 [38, 1, ...]
  MeasurementFaults measurementFaults;
  uint32_t measurements = 0;  // answered so far; the unsteady wobble alternates with it
};

// Bytes per block of a type, as the extended command set counts them.
size_t BlockUnit(int type);
// Number of blocks a transponder of this type usually has.
size_t DefaultBlockCount(int type);
// A transponder with zeroed memory of `blocks` blocks (0: the type's usual count), nothing
// locked, a recognisable identity and, for types 10 and 38, a configuration record.
Transponder MakeTransponder(int type, size_t blocks = 0);

size_t BlockCount(const Transponder& transponder);
bool IsLocked(const Transponder& transponder, size_t block);

// Resonance frequency in Hz for a CTune value and frequency setting (0 or 1).
double ResonanceFrequencyHz(const ResonanceCircuit& circuit, uint8_t ctune, int setting);

}  // namespace kxemu
