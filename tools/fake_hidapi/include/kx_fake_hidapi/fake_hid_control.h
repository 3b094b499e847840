// Steering the test build of hidapi. Beside the hid_ functions the library exports a few
// KxFakeHid_ functions that plug simulated HID readers in and out, give access to the emulated
// reader behind each and inject faults. Tests load the library themselves (the SDK loads it
// again by the same file and shares the one copy) and reach these functions through
// `kxfake::FakeHidControl`.
//
// Devices also come from two places outside the test's own calls:
//   KX_FAKE_HID_READERS  comma-separated serial numbers; each becomes a reader (6A7B:0C5C,
//                        9-byte reports) when the library is loaded or reset, so that programs
//                        that know only kxlf.h find readers (an empty item: no serial string);
//   KX_FAKE_HID_BUS      a folder in which emulator processes serve readers switched to their
//                        HID personality (kx-emulator --hid-bus); see hid_bus_protocol.h.
#pragma once

#include <dlfcn.h>

#include <cstdint>
#include <string>
#include <vector>

#include "kxemu/reader_model.h"

#define KX_FAKE_HID_API extern "C" __attribute__((visibility("default")))

// The ids of a HID reader of the family, which every device has unless a test says otherwise.
#define KX_FAKE_HID_READER_VENDOR 0x6A7Bu
#define KX_FAKE_HID_READER_PRODUCT 0x0C5Cu

struct KxFakeHidDevice {
  const char* serial = "";  // null: the device has no serial number string
  uint16_t vendorId = KX_FAKE_HID_READER_VENDOR;
  uint16_t productId = KX_FAKE_HID_READER_PRODUCT;
  int inputReportLength = 9;  // with the report id byte, as the descriptor declares them
  int outputReportLength = 9;
  const kxemu::ReaderConfig* config = nullptr;  // null: the emulator's defaults
  // >= 0: the device's path is /dev/hidraw<N>, so that the host looks for its descriptor in
  // sysfs (KXLF_SYSFS_ROOT); otherwise a path that names no hidraw node.
  int hidrawNode = -1;
};

// Faults of one device, each until changed.
struct KxFakeHidFaults {
  bool failReads = false;    // hid_read_timeout returns -1
  bool failWrites = false;   // hid_write returns -1 for data reports
  bool failControl = false;  // hid_write returns -1 for control reports (0x82 0x10)
  int countExcess = 0;       // added to the count byte of every input report sent
};

// Back to the state after loading: the readers of KX_FAKE_HID_READERS only; every handle on an
// earlier device fails from now on.
KX_FAKE_HID_API void KxFakeHid_Reset();
// Plugs a device in; returns its number (> 0) for the other calls.
KX_FAKE_HID_API int KxFakeHid_AddDevice(const KxFakeHidDevice* device);
// Pulls the device: it leaves the enumeration and every call on a handle open on it fails.
KX_FAKE_HID_API bool KxFakeHid_Unplug(int device);
// The emulated reader of a plugged device, or null.
KX_FAKE_HID_API kxemu::ReaderModel* KxFakeHid_Model(int device);
KX_FAKE_HID_API bool KxFakeHid_SetFaults(int device, const KxFakeHidFaults* faults);
// The values of the control reports written to the device so far, in order; returns how many
// there were and copies at most `capacity`.
KX_FAKE_HID_API int KxFakeHid_ControlValues(int device, uint8_t* values, int capacity);
// How many handles are open on the device.
KX_FAKE_HID_API int KxFakeHid_OpenCount(int device);

namespace kxfake {

class FakeHidControl {
 public:
  explicit FakeHidControl(const std::string& file) : module_(dlopen(file.c_str(), RTLD_NOW)) {
    if (module_ == nullptr)
      return;
    reset_ = Symbol<decltype(&KxFakeHid_Reset)>("KxFakeHid_Reset");
    add_ = Symbol<decltype(&KxFakeHid_AddDevice)>("KxFakeHid_AddDevice");
    unplug_ = Symbol<decltype(&KxFakeHid_Unplug)>("KxFakeHid_Unplug");
    model_ = Symbol<decltype(&KxFakeHid_Model)>("KxFakeHid_Model");
    faults_ = Symbol<decltype(&KxFakeHid_SetFaults)>("KxFakeHid_SetFaults");
    control_ = Symbol<decltype(&KxFakeHid_ControlValues)>("KxFakeHid_ControlValues");
    openCount_ = Symbol<decltype(&KxFakeHid_OpenCount)>("KxFakeHid_OpenCount");
  }
  ~FakeHidControl() {
    if (module_ != nullptr)
      dlclose(module_);
  }
  FakeHidControl(const FakeHidControl&) = delete;
  FakeHidControl& operator=(const FakeHidControl&) = delete;

  bool Loaded() const {
    return reset_ != nullptr && add_ != nullptr && unplug_ != nullptr && model_ != nullptr &&
           faults_ != nullptr && control_ != nullptr && openCount_ != nullptr;
  }
  void Reset() const { reset_(); }
  int Add(const KxFakeHidDevice& device) const { return add_(&device); }
  // A reader of the family with this serial number and 9-byte reports.
  int AddReader(const std::string& serial, const kxemu::ReaderConfig* config = nullptr) const {
    KxFakeHidDevice device;
    device.serial = serial.c_str();
    device.config = config;
    return add_(&device);
  }
  bool Unplug(int device) const { return unplug_(device); }
  kxemu::ReaderModel* Model(int device) const { return model_(device); }
  bool SetFaults(int device, const KxFakeHidFaults& faults) const {
    return faults_(device, &faults);
  }
  std::vector<uint8_t> ControlValues(int device) const {
    std::vector<uint8_t> values(64);
    const int count = control_(device, values.data(), static_cast<int>(values.size()));
    values.resize(static_cast<size_t>(std::min<int>(std::max(count, 0), 64)));
    return values;
  }
  int OpenCount(int device) const { return openCount_(device); }

  template <typename Function>
  Function Symbol(const char* name) const {
    return module_ == nullptr ? nullptr : reinterpret_cast<Function>(dlsym(module_, name));
  }

 private:
  void* module_;
  decltype(&KxFakeHid_Reset) reset_ = nullptr;
  decltype(&KxFakeHid_AddDevice) add_ = nullptr;
  decltype(&KxFakeHid_Unplug) unplug_ = nullptr;
  decltype(&KxFakeHid_Model) model_ = nullptr;
  decltype(&KxFakeHid_SetFaults) faults_ = nullptr;
  decltype(&KxFakeHid_ControlValues) control_ = nullptr;
  decltype(&KxFakeHid_OpenCount) openCount_ = nullptr;
};

}  // namespace kxfake
