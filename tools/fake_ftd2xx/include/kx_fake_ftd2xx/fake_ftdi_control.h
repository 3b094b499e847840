// Steering the test build of the D2XX library. The library exports, beside the FT_ functions,
// a few KxFakeFtdi_ functions that plug simulated FTDI devices in and out, give access to the
// emulated reader behind each device and report what the host configured on it. Tests load
// the library themselves (the SDK loads it again by the same file and shares the one copy) and
// reach these functions through `kxfake::FakeFtdiControl`.
#pragma once

#include <dlfcn.h>

#include <cstdint>
#include <optional>
#include <string>

#include "kxemu/reader_model.h"
#include "transport/ftd2xx_api.h"

// What the host did to one simulated device since it was plugged in.
struct KxFakeFtdiSettings {
  bool open = false;
  // Arguments of the last FT_W32_CreateFile that opened the device.
  uint32_t openAccess = 0;
  uint32_t openShareMode = 0;
  uint32_t openCreation = 0;
  uint32_t openFlags = 0;
  int latencyTimer = -1;  // -1 until FT_SetLatencyTimer
  kxlf::d2xx::FTDCB dcb{};
  bool timeoutsSet = false;
  kxlf::d2xx::FTTIMEOUTS timeouts{};
  uint32_t commMask = 0;
  uint32_t purgeMask = 0;  // every FT_W32_PurgeComm mask so far, or-ed together
};

// Marks what the test library exports: these control functions and its D2XX functions.
#define KX_FAKE_FTDI_API extern "C" __attribute__((visibility("default")))

// The ids of the family's FTDI-based reader, which every device has unless a test says
// otherwise. Like the vendor's library, this one sees them only after FT_SetVIDPID named them.
#define KX_FAKE_FTDI_READER_VENDOR 0x0403u
#define KX_FAKE_FTDI_READER_PRODUCT 0x9D42u

// Back to the state after loading: one reader "FT123456" that answers the version command with
// "054A", no ids named with FT_SetVIDPID; every handle is invalidated and every model replaced.
KX_FAKE_FTDI_API void KxFakeFtdi_Reset();
// Plugs in a reader. `config` may be null for the emulator's defaults. An empty serial number
// is allowed (some converters carry none). False when a plugged device has that serial number.
KX_FAKE_FTDI_API bool KxFakeFtdi_AddDevice(const char* serial, const char* description,
                                           const kxemu::ReaderConfig* config);
// The same for a device with other USB ids, such as a plain FTDI converter (0403:6001).
KX_FAKE_FTDI_API bool KxFakeFtdi_AddDeviceWithIds(const char* serial, const char* description,
                                                  uint32_t vendor, uint32_t product,
                                                  const kxemu::ReaderConfig* config);
// Pulls the device: it leaves the device list, and every call on a handle that was open on it
// fails from now on except FT_W32_CloseHandle.
KX_FAKE_FTDI_API bool KxFakeFtdi_Unplug(const char* serial);
// The emulated reader of a plugged device, or null. Valid until the device is unplugged or the
// library reset.
KX_FAKE_FTDI_API kxemu::ReaderModel* KxFakeFtdi_Model(const char* serial);
// What the host configured on a plugged device. False when there is no such device.
KX_FAKE_FTDI_API bool KxFakeFtdi_Settings(const char* serial, KxFakeFtdiSettings* settings);

namespace kxfake {

// Loads the library by file and resolves the control functions. While an object lives the
// library stays loaded, and with it the simulated devices and their state.
class FakeFtdiControl {
 public:
  explicit FakeFtdiControl(const std::string& file) : module_(dlopen(file.c_str(), RTLD_NOW)) {
    if (module_ == nullptr)
      return;
    reset_ = Symbol<decltype(&KxFakeFtdi_Reset)>("KxFakeFtdi_Reset");
    addDevice_ = Symbol<decltype(&KxFakeFtdi_AddDevice)>("KxFakeFtdi_AddDevice");
    addDeviceWithIds_ =
        Symbol<decltype(&KxFakeFtdi_AddDeviceWithIds)>("KxFakeFtdi_AddDeviceWithIds");
    unplug_ = Symbol<decltype(&KxFakeFtdi_Unplug)>("KxFakeFtdi_Unplug");
    model_ = Symbol<decltype(&KxFakeFtdi_Model)>("KxFakeFtdi_Model");
    settings_ = Symbol<decltype(&KxFakeFtdi_Settings)>("KxFakeFtdi_Settings");
  }
  ~FakeFtdiControl() {
    if (module_ != nullptr)
      dlclose(module_);
  }
  FakeFtdiControl(const FakeFtdiControl&) = delete;
  FakeFtdiControl& operator=(const FakeFtdiControl&) = delete;

  bool Loaded() const {
    return reset_ != nullptr && addDevice_ != nullptr && addDeviceWithIds_ != nullptr &&
           unplug_ != nullptr && model_ != nullptr && settings_ != nullptr;
  }

  void Reset() const { reset_(); }
  bool AddDevice(const std::string& serial, const std::string& description = "KX reader",
                 const kxemu::ReaderConfig* config = nullptr) const {
    return addDevice_(serial.c_str(), description.c_str(), config);
  }
  bool AddDeviceWithIds(const std::string& serial, uint32_t vendor, uint32_t product,
                        const std::string& description = "USB Serial Converter") const {
    return addDeviceWithIds_(serial.c_str(), description.c_str(), vendor, product, nullptr);
  }
  bool Unplug(const std::string& serial) const { return unplug_(serial.c_str()); }
  kxemu::ReaderModel* Model(const std::string& serial) const { return model_(serial.c_str()); }
  std::optional<KxFakeFtdiSettings> Settings(const std::string& serial) const {
    KxFakeFtdiSettings settings;
    if (!settings_(serial.c_str(), &settings))
      return std::nullopt;
    return settings;
  }

  // Any exported function, for tests that act as another program using the library.
  template <typename Function>
  Function Symbol(const char* name) const {
    return module_ == nullptr ? nullptr : reinterpret_cast<Function>(dlsym(module_, name));
  }

 private:
  void* module_;
  decltype(&KxFakeFtdi_Reset) reset_ = nullptr;
  decltype(&KxFakeFtdi_AddDevice) addDevice_ = nullptr;
  decltype(&KxFakeFtdi_AddDeviceWithIds) addDeviceWithIds_ = nullptr;
  decltype(&KxFakeFtdi_Unplug) unplug_ = nullptr;
  decltype(&KxFakeFtdi_Model) model_ = nullptr;
  decltype(&KxFakeFtdi_Settings) settings_ = nullptr;
};

}  // namespace kxfake
