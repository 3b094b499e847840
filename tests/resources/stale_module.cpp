// A language library built for resource tables of an older shape: the program must refuse it.
#include "framework/resource_format.h"

namespace {

const kx::ui::res::Module kStale = {kx::ui::res::kAbiVersion - 1, "en"};

}  // namespace

extern "C" __attribute__((visibility("default"))) const kx::ui::res::Module* KxResourceModule() {
  return &kStale;
}
