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

std::optional<Problem> ConnectReader(const Options& options, const StoredSettings& stored,
                                     flows::ConnectResult& connected) {
  const ConnectionTarget target = TargetOf(options, stored);
  connected = flows::Connect(target.port, target.baudCode, target.timeoutMs);
  if (!connected.ok())
    return ConnectProblem(connected, target.port);
  return std::nullopt;
}

OpenConnection::~OpenConnection() {
  KxLfClose(handle_);
}

}  // namespace kx::cli
