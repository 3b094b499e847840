// Walking the tables of a resource module.
#pragma once

#include <QString>
#include <map>
#include <set>

#include "framework/resource_format.h"

namespace kx::res::testing {

inline std::map<int, QString> StringsOf(const ui::res::Module& module) {
  std::map<int, QString> strings;
  for (size_t t = 0; t < module.stringTableCount; ++t) {
    for (size_t i = 0; i < module.stringTables[t].count; ++i) {
      const ui::res::StringEntry& entry = module.stringTables[t].entries[i];
      strings.emplace(entry.id, QString::fromUtf8(entry.text));
    }
  }
  return strings;
}

inline size_t StringCount(const ui::res::Module& module) {
  size_t count = 0;
  for (size_t t = 0; t < module.stringTableCount; ++t)
    count += module.stringTables[t].count;
  return count;
}

inline std::map<int, const ui::res::DialogTemplate*> DialogsOf(const ui::res::Module& module) {
  std::map<int, const ui::res::DialogTemplate*> dialogs;
  for (size_t i = 0; i < module.dialogCount; ++i)
    dialogs.emplace(module.dialogs[i]->id, module.dialogs[i]);
  return dialogs;
}

inline std::set<int> IconsOf(const ui::res::Module& module) {
  std::set<int> icons;
  for (size_t i = 0; i < module.iconCount; ++i)
    icons.insert(module.icons[i].id);
  return icons;
}

}  // namespace kx::res::testing
