#include "resources/builtin.h"

#include "resources/tables.h"

namespace kx::res {

const ui::res::Module& BuiltInResources() {
  return LanguageModule();
}

}  // namespace kx::res
