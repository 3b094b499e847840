#include "output.h"

#include <unistd.h>

namespace kx::cli {

Output::Output(std::string_view command, bool json, bool quiet, std::FILE* out, std::FILE* err)
    : command_(command), json_(json), quiet_(quiet), out_(out), err_(err) {}

JsonObject Output::Begin(bool ok) const {
  JsonObject object;
  object.Add("command", command_);
  object.Add("ok", ok);
  return object;
}

void Output::Line(std::FILE* stream, std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fputc('\n', stream);
  std::fflush(stream);
}

void Output::Result(const JsonObject& json, std::string_view text) {
  Line(out_, json_ ? std::string_view(json.Text()) : text);
}

void Output::JsonLine(const JsonObject& json) {
  if (json_)
    Line(out_, json.Text());
}

void Output::Progress(std::string_view line) {
  if (!quiet_)
    Line(err_, line);
}

void Output::Warning(std::string_view line) {
  Line(err_, "kx-cli: warning: " + std::string(line));
}

void Output::Error(std::string_view message) {
  Line(err_, "kx-cli: " + std::string(message));
}

int Output::Fail(const Problem& problem) {
  Error(problem.message);
  if (json_) {
    JsonObject object = Begin(false);
    object.Add("exit_code", problem.exitCode);
    object.Add("error", ProblemKey(problem.exitCode));
    object.Add("message", problem.message);
    Line(out_, object.Text());
  }
  return problem.exitCode;
}

void Output::Bell() {
  if (!quiet_ && ::isatty(::fileno(err_)) == 1) {
    std::fputc('\a', err_);
    std::fflush(err_);
  }
}

}  // namespace kx::cli
