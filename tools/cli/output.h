// Where kx-cli's results, progress and errors go: results on standard output (text, or one JSON
// object per line with --json), progress and errors on standard error. Every line is flushed at
// once, so that a script reading the output sees each line when it happens.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "json.h"
#include "problems.h"

namespace kx::cli {

class Output {
 public:
  Output(std::string_view command, bool json, bool quiet, std::FILE* out = stdout,
         std::FILE* err = stderr);

  bool Json() const { return json_; }
  bool Quiet() const { return quiet_; }

  // {"command": ..., "ok": true} to add the fields of a result to.
  JsonObject Begin(bool ok = true) const;

  // A result: the object with --json, else the text (a line break is added).
  void Result(const JsonObject& json, std::string_view text);
  // A line on standard output with --json only.
  void JsonLine(const JsonObject& json);
  // Progress and notes on standard error; nothing with --quiet.
  void Progress(std::string_view line);
  // A problem that does not end the command; shown also with --quiet.
  void Warning(std::string_view line);
  // An error message on standard error, also with --quiet.
  void Error(std::string_view message);
  // Reports the problem (standard error, and an object on standard output with --json) and
  // returns its exit code.
  int Fail(const Problem& problem);
  // The terminal bell on standard error, when that is a terminal and not --quiet.
  void Bell();

 private:
  void Line(std::FILE* stream, std::string_view text);

  std::string command_;
  bool json_;
  bool quiet_;
  std::FILE* out_;
  std::FILE* err_;
};

}  // namespace kx::cli
