#include "program_state.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "ini/ini_ex.h"
#include "ini/locked_file.h"
#include "names.h"
#include "stored_settings.h"
#include "whole_number.h"

namespace kx::cli {

namespace {

constexpr std::string_view kJob = "Job";
constexpr std::string_view kProgress = "Progress";
constexpr std::string_view kHeader =
    "; kx-cli program state: the next value goes to the next transponder.\r\n"
    "; PendingUid names a transponder whose write was under way; the next run finishes it.\r\n";

std::string SystemError(const std::string& what) {
  return what + ": " + std::strerror(errno);
}

}  // namespace

std::string StateText(const ProgramState& state) {
  ini::CIniEx ini;
  const ProgramJob& job = state.job;
  ini.SetString(kJob, "Type", TypeName(job.typeIndex));
  ini.SetInt(kJob, "StartBlock", static_cast<int>(job.startBlock));
  ini.SetInt(kJob, "Length", job.n);
  ini.SetString(kJob, "Format", FormatName(job.format));
  ini.SetInt(kJob, "LeadingZeros", job.leadingZeros ? 1 : 0);
  ini.SetInt(kJob, "ExtraText", job.extraText ? 1 : 0);
  ini.SetString(kJob, "FirstValue", QuoteValue(job.firstValue));
  ini.SetString(kProgress, "NextValue", QuoteValue(state.nextValue));
  ini.SetString(kProgress, "Done", std::to_string(state.done));
  ini.SetString(kProgress, "LastUid", state.lastUid);
  ini.SetString(kProgress, "PendingUid", state.pendingUid);
  ini.SetInt(kProgress, "Exhausted", state.exhausted ? 1 : 0);
  return std::string(kHeader) + ini.Text();
}

std::optional<ProgramState> ParseStateText(std::string_view text, std::string* error) {
  ini::CIniEx ini;
  ini.ParseText(text);
  const auto has = [&](std::string_view section, std::string_view key) {
    return ini.FindKey(ini.FindSection(section), key) >= 0;
  };
  for (const char* key : {"Type", "StartBlock", "Length", "Format", "FirstValue"}) {
    if (!has(kJob, key)) {
      *error = "it has no " + std::string(key);
      return std::nullopt;
    }
  }
  for (const char* key : {"NextValue", "Done"}) {
    if (!has(kProgress, key)) {
      *error = "it has no " + std::string(key);
      return std::nullopt;
    }
  }
  ProgramState state;
  ProgramJob& job = state.job;
  const auto type = ParseTransponderType(ini.GetString(kJob, "Type"));
  const auto format = ParseDataFormat(ini.GetString(kJob, "Format"));
  const auto start = ParseWholeNumber<long>(ini.GetString(kJob, "StartBlock"));
  const auto n = ParseWholeNumber<long>(ini.GetString(kJob, "Length"));
  const auto done = ParseWholeNumber<long>(ini.GetString(kProgress, "Done"));
  if (!type || !format || !start || *start < 0 || !n || !done || *done < 0) {
    *error = "a number, the type or the format in it is not readable";
    return std::nullopt;
  }
  job.typeIndex = *type;
  job.format = *format;
  job.startBlock = static_cast<unsigned>(*start);
  job.n = static_cast<int>(*n);
  job.leadingZeros = ini.GetString(kJob, "LeadingZeros") == "1";
  job.extraText = ini.GetString(kJob, "ExtraText") == "1";
  job.firstValue = UnquoteValue(ini.GetString(kJob, "FirstValue"));
  state.nextValue = UnquoteValue(ini.GetString(kProgress, "NextValue"));
  state.done = *done;
  state.lastUid = ini.GetString(kProgress, "LastUid");
  state.pendingUid = ini.GetString(kProgress, "PendingUid");
  state.exhausted = ini.GetString(kProgress, "Exhausted") == "1";
  return state;
}

StateLoad LoadStateFile(const std::string& path, ProgramState& state, std::string* error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    if (errno == ENOENT)
      return StateLoad::kMissing;
    *error = SystemError("cannot open it");
    return StateLoad::kBroken;
  }
  std::ostringstream content;
  content << file.rdbuf();
  auto parsed = ParseStateText(content.str(), error);
  if (!parsed)
    return StateLoad::kBroken;
  state = std::move(*parsed);
  return StateLoad::kLoaded;
}

bool SaveStateFile(const std::string& path, const ProgramState& state, std::string* error) {
  // The run's own lock keeps other runs away; the state file is not waited for.
  if (ini::ReplaceFileContent(path, StateText(state), std::chrono::milliseconds(0)))
    return true;
  *error = SystemError("cannot write it");
  return false;
}

bool StateLock::Acquire(const std::string& path, std::string* error) {
  const std::string lockPath = path + ".lock";
  fd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd_ < 0) {
    *error = SystemError("cannot create " + lockPath);
    return false;
  }
  if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
    *error = "another kx-cli program run uses it (" + lockPath + " is locked)";
    return false;
  }
  return true;
}

StateLock::~StateLock() {
  if (fd_ >= 0)
    ::close(fd_);
}

}  // namespace kx::cli
