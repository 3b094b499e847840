// hidapi bound at run time. HID readers must not need the library to be installed: without it,
// or without one of the functions every HID exchange needs, no HID device is found or listed and
// nothing else changes. The SDK object binds one table when it starts and releases it when it
// ends; every HID device object reads that table.
#pragma once

#include <string>

#include "transport/hidapi_api.h"

namespace kxlf {

// The library file that is loaded, unless the environment variable KXLF_HIDAPI_LIBRARY names
// another one (tests point it at a build of the library backed by the reader emulator).
inline constexpr const char* kHidapiLibraryFile = "libhidapi-hidraw.so.0";
inline constexpr const char* kHidapiLibraryVariable = "KXLF_HIDAPI_LIBRARY";

struct HidapiTable {
  // Required: without any of these HID is not usable.
  hidapi::hid_init_t hid_init = nullptr;
  hidapi::hid_enumerate_t hid_enumerate = nullptr;
  hidapi::hid_free_enumeration_t hid_free_enumeration = nullptr;
  hidapi::hid_open_path_t hid_open_path = nullptr;
  hidapi::hid_close_t hid_close = nullptr;
  hidapi::hid_write_t hid_write = nullptr;
  hidapi::hid_read_timeout_t hid_read_timeout = nullptr;
  // Optional: the report lengths come from sysfs without the descriptor call, and the debug
  // texts go without the library's reason.
  hidapi::hid_exit_t hid_exit = nullptr;
  hidapi::hid_error_t hid_error = nullptr;
  hidapi::hid_get_report_descriptor_t hid_get_report_descriptor = nullptr;
};

class HidapiLibrary {
 public:
  HidapiLibrary() = default;
  ~HidapiLibrary() { Release(); }
  HidapiLibrary(const HidapiLibrary&) = delete;
  HidapiLibrary& operator=(const HidapiLibrary&) = delete;

  // Loads the library (the file named by KXLF_HIDAPI_LIBRARY, else kHidapiLibraryFile), looks up
  // every function and initialises it. Debug texts name what is missing.
  void Bind();
  // hid_exit, unloads the library and empties the table.
  void Release();

  // The table while HID is usable, else null.
  const HidapiTable* Usable() const { return usable_ ? &table_ : nullptr; }

 private:
  void* module_ = nullptr;
  bool usable_ = false;
  HidapiTable table_;
};

// The process-wide binding of the SDK object; set by it at start and cleared at its end.
const HidapiTable* BoundHidapi();
void SetBoundHidapi(const HidapiLibrary* library);

}  // namespace kxlf
