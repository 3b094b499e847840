// Where the user interface takes its dialog templates, strings and icons from: the program's
// built-in (German) resources, or a language library loaded at run time with the same ids.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>
#include <filesystem>
#include <string>

#include "framework/resource_format.h"
#include "framework/shared_library.h"

namespace kx::ui {

class Resources {
 public:
  explicit Resources(const res::Module& builtIn);

  // Makes the library the source of every resource and releases the one used before. A file that
  // does not load, lacks the entry point or was built for other tables changes nothing; the
  // result says whether the library was taken, LoadError() why not.
  bool UseLibrary(const std::filesystem::path& file);
  // Back to the built-in resources; the library is released.
  void UseBuiltIn();
  bool UsesLibrary() const { return library_ != nullptr; }
  const std::string& LoadError() const { return loadError_; }

  // An entry that the library lacks comes from the built-in resources. The template stays valid
  // until the next UseLibrary or UseBuiltIn.
  const res::DialogTemplate* FindDialog(int id) const;
  // Empty when no table has the id.
  QString LoadString(int id) const;
  QIcon Icon(int id) const;
  // The picture of the icon table at its own size; null when no table has the id.
  QPixmap Picture(int id) const;

 private:
  const res::Module& builtIn_;
  SharedLibrary libraryFile_;
  const res::Module* library_ = nullptr;
  std::string loadError_;
};

}  // namespace kx::ui
