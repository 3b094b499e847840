#include "transport/hidapi_library.h"

#include <dlfcn.h>

#include <atomic>

#include "debug_log.h"
#include "transport/runtime_library.h"

namespace kxlf {
namespace {

std::atomic<const HidapiLibrary*> boundLibrary{nullptr};

}  // namespace

void HidapiLibrary::Bind() {
  if (module_ != nullptr)
    return;
  const std::string file = RuntimeLibraryFile(kHidapiLibraryVariable, kHidapiLibraryFile);
  module_ = LoadRuntimeLibrary(file);
  if (module_ == nullptr)
    return;
  HidapiTable& t = table_;
  bool required = true;
  // Every lookup runs, so that the trace names each missing function.
  required &= BindRuntimeFunction(module_, "hid_init", t.hid_init);
  required &= BindRuntimeFunction(module_, "hid_enumerate", t.hid_enumerate);
  required &= BindRuntimeFunction(module_, "hid_free_enumeration", t.hid_free_enumeration);
  required &= BindRuntimeFunction(module_, "hid_open_path", t.hid_open_path);
  required &= BindRuntimeFunction(module_, "hid_close", t.hid_close);
  required &= BindRuntimeFunction(module_, "hid_write", t.hid_write);
  required &= BindRuntimeFunction(module_, "hid_read_timeout", t.hid_read_timeout);
  t.hid_exit = reinterpret_cast<hidapi::hid_exit_t>(dlsym(module_, "hid_exit"));
  t.hid_error = reinterpret_cast<hidapi::hid_error_t>(dlsym(module_, "hid_error"));
  t.hid_get_report_descriptor = reinterpret_cast<hidapi::hid_get_report_descriptor_t>(
      dlsym(module_, "hid_get_report_descriptor"));
  if (!required) {
    DebugLog("HID ist nicht nutzbar: " + file + " fehlen Funktionen");
    return;
  }
  if (t.hid_init() != 0) {
    DebugLog("Fehler: hid_init in " + file + " gescheitert");
    return;
  }
  usable_ = true;
}

void HidapiLibrary::Release() {
  if (module_ == nullptr)
    return;
  if (usable_ && table_.hid_exit != nullptr)
    table_.hid_exit();
  usable_ = false;
  table_ = HidapiTable{};
  dlclose(module_);
  module_ = nullptr;
}

const HidapiTable* BoundHidapi() {
  const HidapiLibrary* library = boundLibrary.load(std::memory_order_acquire);
  return library == nullptr ? nullptr : library->Usable();
}

void SetBoundHidapi(const HidapiLibrary* library) {
  boundLibrary.store(library, std::memory_order_release);
}

}  // namespace kxlf
