// Vendor libraries that the SDK binds at run time rather than at link time, so that it starts
// without them. An environment variable may name another file of the library (tests point it
// at builds backed by the reader emulator), and the debug texts name what could not be bound.
#pragma once

#include <string>

namespace kxlf {

// The file named by the environment variable `variable` when it names one, else `defaultFile`.
std::string RuntimeLibraryFile(const char* variable, const char* defaultFile);

// The loaded library, or null with debug texts naming the file and the loader's reason.
void* LoadRuntimeLibrary(const std::string& file);

// The function `name` of the loaded library, or null with a debug text naming it.
void* LookUpRuntimeFunction(void* module, const char* name);

// Sets `slot` to the function `name` of the loaded library; returns whether it was found.
template <typename Function>
bool BindRuntimeFunction(void* module, const char* name, Function& slot) {
  slot = reinterpret_cast<Function>(LookUpRuntimeFunction(module, name));
  return slot != nullptr;
}

}  // namespace kxlf
