// A shared library opened at run time, closed when the object goes.
#pragma once

#include <filesystem>
#include <string>

namespace kx::ui {

class SharedLibrary {
 public:
  SharedLibrary() = default;
  ~SharedLibrary();
  SharedLibrary(SharedLibrary&& other) noexcept;
  SharedLibrary& operator=(SharedLibrary&& other) noexcept;
  SharedLibrary(const SharedLibrary&) = delete;
  SharedLibrary& operator=(const SharedLibrary&) = delete;

  // Empty when the file cannot be loaded; Error() says why.
  static SharedLibrary Open(const std::filesystem::path& file);

  bool IsOpen() const { return handle_ != nullptr; }
  // Null when the library does not define the symbol.
  void* Symbol(const char* name) const;
  const std::string& Error() const { return error_; }

 private:
  void Close();

  void* handle_ = nullptr;
  std::string error_;
};

}  // namespace kx::ui
