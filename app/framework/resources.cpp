#include "framework/resources.h"

#include <QPixmap>

namespace kx::ui {

namespace {

const res::DialogTemplate* DialogIn(const res::Module& module, int id) {
  for (size_t i = 0; i < module.dialogCount; ++i) {
    if (module.dialogs[i] != nullptr && module.dialogs[i]->id == id)
      return module.dialogs[i];
  }
  return nullptr;
}

const char* StringIn(const res::Module& module, int id) {
  for (size_t t = 0; t < module.stringTableCount; ++t) {
    const res::StringTable& table = module.stringTables[t];
    for (size_t i = 0; i < table.count; ++i) {
      if (table.entries[i].id == id)
        return table.entries[i].text;
    }
  }
  return nullptr;
}

const char* const* IconIn(const res::Module& module, int id) {
  for (size_t i = 0; i < module.iconCount; ++i) {
    if (module.icons[i].id == id)
      return module.icons[i].xpm;
  }
  return nullptr;
}

// The library's entry, else the built-in one.
template <typename Lookup>
auto LibraryFirst(const res::Module* library, const res::Module& builtIn, int id, Lookup lookup) {
  if (library != nullptr) {
    if (const auto found = lookup(*library, id))
      return found;
  }
  return lookup(builtIn, id);
}

// A table pointer that is null while its count is not zero marks a library that was not built
// from our tables, however it got the entry point.
bool IsWellFormed(const res::Module* module) {
  return module != nullptr && module->abiVersion == res::kAbiVersion &&
         (module->dialogCount == 0 || module->dialogs != nullptr) &&
         (module->stringTableCount == 0 || module->stringTables != nullptr) &&
         (module->iconCount == 0 || module->icons != nullptr);
}

}  // namespace

Resources::Resources(const res::Module& builtIn) : builtIn_(builtIn) {}

bool Resources::UseLibrary(const std::filesystem::path& file) {
  SharedLibrary candidate = SharedLibrary::Open(file);
  if (!candidate.IsOpen()) {
    loadError_ = candidate.Error();
    return false;
  }
  auto entryPoint =
      reinterpret_cast<res::ModuleEntryPoint>(candidate.Symbol(res::kModuleEntryPoint));
  if (entryPoint == nullptr) {
    loadError_ = file.string() + " has no " + res::kModuleEntryPoint;
    return false;
  }
  const res::Module* module = entryPoint();
  if (!IsWellFormed(module)) {
    loadError_ = file.string() + " was built for other resource tables";
    return false;
  }
  // The old library goes only now, so that a failed load keeps the language in use.
  library_ = module;
  libraryFile_ = std::move(candidate);
  loadError_.clear();
  return true;
}

void Resources::UseBuiltIn() {
  library_ = nullptr;
  libraryFile_ = SharedLibrary();
}

const res::DialogTemplate* Resources::FindDialog(int id) const {
  return LibraryFirst(library_, builtIn_, id, DialogIn);
}

QString Resources::LoadString(int id) const {
  const char* text = LibraryFirst(library_, builtIn_, id, StringIn);
  return text != nullptr ? QString::fromUtf8(text) : QString();
}

QIcon Resources::Icon(int id) const {
  const char* const* xpm = LibraryFirst(library_, builtIn_, id, IconIn);
  return xpm != nullptr ? QIcon(QPixmap(xpm)) : QIcon();
}

QPixmap Resources::Picture(int id) const {
  const char* const* xpm = LibraryFirst(library_, builtIn_, id, IconIn);
  return xpm != nullptr ? QPixmap(xpm) : QPixmap();
}

}  // namespace kx::ui
