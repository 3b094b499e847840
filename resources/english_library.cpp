// The entry point of the English resource library: the only symbol the library exports.
#include "framework/resource_format.h"
#include "resources/tables.h"

extern "C" __attribute__((visibility("default"))) const kx::ui::res::Module* KxResourceModule() {
  return &kx::res::LanguageModule();
}
