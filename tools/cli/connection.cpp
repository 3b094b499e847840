#include "connection.h"

#include "kxlf.h"

namespace kx::cli {

ConnectionTarget TargetOf(const Options& options, const StoredSettings& stored) {
  ConnectionTarget target;
  target.port = options.port.value_or(ConnectionName(stored));
  flows::BaudCode baud = flows::SplitBaudCode(stored.baudCode);
  if (options.baudRate)
    baud.baudRate = *options.baudRate;
  if (options.serialFormat)
    baud.serialFormat = *options.serialFormat;
  target.baudCode = flows::JoinBaudCode(baud);
  target.timeoutMs = options.timeoutMs;
  return target;
}

OpenConnection::~OpenConnection() {
  KxLfClose(handle_);
}

}  // namespace kx::cli
