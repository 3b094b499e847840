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
  if (library_ != nullptr) {
    if (const res::DialogTemplate* found = DialogIn(*library_, id))
      return found;
  }
  return DialogIn(builtIn_, id);
}

std::optional<QString> Resources::FindString(int id) const {
  const char* text = library_ != nullptr ? StringIn(*library_, id) : nullptr;
  if (text == nullptr)
    text = StringIn(builtIn_, id);
  if (text == nullptr)
    return std::nullopt;
  return QString::fromUtf8(text);
}

QString Resources::LoadString(int id) const {
  return FindString(id).value_or(QString());
}

QIcon Resources::Icon(int id) const {
  const char* const* xpm = library_ != nullptr ? IconIn(*library_, id) : nullptr;
  if (xpm == nullptr)
    xpm = IconIn(builtIn_, id);
  if (xpm == nullptr)
    return QIcon();
  return QIcon(QPixmap(xpm));
}

}  // namespace kx::ui
