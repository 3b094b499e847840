#include "chip_functions.h"

#include <algorithm>
#include <cmath>

#include "link/reader_commands.h"

namespace kxemu::detail {

namespace {
constexpr size_t kTuningRecordSize = 12;
constexpr size_t kCtuneOffset = 8;
constexpr auto kMeasureClockHz = static_cast<double>(kxlf::kFrequencyReferenceHz);
}  // namespace

Bytes ConfigurationRecord(const Transponder& transponder) {
  Bytes record = transponder.configRecord;
  if (transponder.type == 38) {
    if (record.size() < kTuningRecordSize)
      record.resize(kTuningRecordSize, 0);
    record[kCtuneOffset] = transponder.ctune;
  }
  return record;
}

Answer MeasureFrequency(Transponder& transponder, uint8_t ctune, uint8_t apply, uint8_t setting) {
  if (setting > 1)
    return StatusOnly(kStatusBadParameter);
  MeasurementFaults& faults = transponder.measurementFaults;
  if (faults.failures > 0) {
    --faults.failures;
    return StatusOnly(kStatusNoTransponder);
  }
  if (apply != 0)
    transponder.ctune = ctune;
  if (faults.withoutFrequency)
    return Answer{kStatusOk, {0x00}};
  const int wobble = transponder.measurements++ % 2 == 0 ? faults.unsteadyHz : -faults.unsteadyHz;
  const double frequency =
      ResonanceFrequencyHz(transponder.circuit, transponder.ctune, setting) + wobble;
  // A circuit without a usable resonance (zero or negative parts) gives no measurement.
  if (!std::isfinite(frequency) || frequency <= 0.0)
    return StatusOnly(kStatusBadParameter);
  const double divisor = std::clamp(std::round(kMeasureClockHz / frequency), 1.0, 65535.0);
  const auto value = static_cast<uint16_t>(divisor);
  return Answer{kStatusOk, {static_cast<uint8_t>(value & 0xFF), static_cast<uint8_t>(value >> 8)}};
}

}  // namespace kxemu::detail
