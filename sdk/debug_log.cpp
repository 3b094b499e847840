#include "debug_log.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace kxlf {
namespace {

bool DebugLogEnabled() {
  const char* value = std::getenv("KXLF_DEBUG");
  return value != nullptr && *value != '\0' && std::strcmp(value, "0") != 0;
}

}  // namespace

void DebugLog(const std::string& text) {
  if (!DebugLogEnabled())
    return;
  std::fprintf(stderr, "kxlf: %s\n", text.c_str());
}

}  // namespace kxlf
