#include "transport/runtime_library.h"

#include <dlfcn.h>

#include <cstdlib>

#include "debug_log.h"

namespace kxlf {

std::string RuntimeLibraryFile(const char* variable, const char* defaultFile) {
  const char* named = std::getenv(variable);
  return named != nullptr && *named != '\0' ? named : defaultFile;
}

void* LoadRuntimeLibrary(const std::string& file) {
  void* module = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) {
    DebugLog("Fehler: Kann " + file + " nicht laden");
    if (const char* reason = dlerror())
      DebugLog(reason);
  }
  return module;
}

void* LookUpRuntimeFunction(void* module, const char* name) {
  void* function = dlsym(module, name);
  if (function == nullptr)
    DebugLog(std::string("Fehler: Kann ") + name + " nicht initialisieren");
  return function;
}

}  // namespace kxlf
