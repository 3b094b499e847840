// The reader connection of one command: where it goes, and closing it at the end.
#pragma once

#include <optional>
#include <string>

#include "flows/connect.h"
#include "options.h"
#include "problems.h"
#include "stored_settings.h"

namespace kx::cli {

struct ConnectionTarget {
  std::string port;
  int baudCode = 19200;
  int timeoutMs = 500;
};

// The options where given, else the program's stored interface and serial settings.
ConnectionTarget TargetOf(const Options& options, const StoredSettings& stored);

// Connects to the reader at the target of the options; the problem to report when that fails.
std::optional<Problem> ConnectReader(const Options& options, const StoredSettings& stored,
                                     flows::ConnectResult& connected);

class OpenConnection {
 public:
  explicit OpenConnection(const flows::ConnectResult& connected)
      : handle_(connected.handle), reader_(*connected.reader) {}
  ~OpenConnection();
  OpenConnection(const OpenConnection&) = delete;
  OpenConnection& operator=(const OpenConnection&) = delete;

  int Handle() const { return handle_; }
  const flows::ReaderIdentity& Reader() const { return reader_; }

 private:
  int handle_;
  flows::ReaderIdentity reader_;
};

}  // namespace kx::cli
