// The commands of kx-cli. Each returns the process's exit code.
#pragma once

#include "options.h"
#include "output.h"
#include "stored_settings.h"

namespace kx::cli {

struct Context {
  const Options& options;
  const StoredSettings& stored;
  Output& out;
};

int RunPorts(const Context& context);
int RunIdentify(const Context& context);
int RunRead(const Context& context);
int RunUid(const Context& context);
int RunWrite(const Context& context);
int RunProgram(const Context& context);
int RunTune(const Context& context);
int RunHdxConfig(const Context& context);
int RunLan(const Context& context);

}  // namespace kx::cli
