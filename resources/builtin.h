// The program's own resources: German texts, compiled in.
#pragma once

#include "framework/resource_format.h"

namespace kx::res {

const ui::res::Module& BuiltInResources();

}  // namespace kx::res
