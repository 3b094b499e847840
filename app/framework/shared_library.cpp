#include "framework/shared_library.h"

#include <dlfcn.h>

#include <utility>

namespace kx::ui {

SharedLibrary::~SharedLibrary() {
  Close();
}

SharedLibrary::SharedLibrary(SharedLibrary&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), error_(std::move(other.error_)) {}

SharedLibrary& SharedLibrary::operator=(SharedLibrary&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = std::exchange(other.handle_, nullptr);
    error_ = std::move(other.error_);
  }
  return *this;
}

SharedLibrary SharedLibrary::Open(const std::filesystem::path& file) {
  SharedLibrary library;
  // RTLD_LOCAL: nothing of the library can stand in for the program's own symbols.
  library.handle_ = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library.handle_ == nullptr) {
    const char* error = dlerror();
    library.error_ = error != nullptr ? error : "cannot load " + file.string();
  }
  return library;
}

void* SharedLibrary::Symbol(const char* name) const {
  return handle_ != nullptr ? dlsym(handle_, name) : nullptr;
}

void SharedLibrary::Close() {
  if (handle_ != nullptr)
    dlclose(handle_);
  handle_ = nullptr;
}

}  // namespace kx::ui
