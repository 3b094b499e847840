// One JSON object on one line, fields in the order they were added.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kx::cli {

class JsonObject {
 public:
  JsonObject& Add(std::string_view key, std::string_view value);
  JsonObject& Add(std::string_view key, const char* value) {
    return Add(key, std::string_view(value));
  }
  JsonObject& Add(std::string_view key, int64_t value);
  JsonObject& Add(std::string_view key, int value) { return Add(key, static_cast<int64_t>(value)); }
  JsonObject& Add(std::string_view key, bool value);

  // "{...}" without a line break.
  std::string Text() const { return "{" + fields_ + "}"; }

 private:
  void Key(std::string_view key);

  std::string fields_;
};

// A JSON string literal. Texts are 8-bit: bytes that are no valid UTF-8 are taken as Latin-1
// characters, so that any transponder content gives valid JSON.
std::string JsonString(std::string_view text);

}  // namespace kx::cli
