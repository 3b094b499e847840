// The conversions work on 8-bit characters, one byte per character; the window holds Unicode.
// Characters beyond the first 256 become "?".
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace kx::app {

inline std::string ToAnsi(const QString& text) {
  return text.toLatin1().toStdString();
}

inline QString FromAnsi(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace kx::app
