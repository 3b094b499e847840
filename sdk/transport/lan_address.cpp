#include "transport/lan_address.h"

#include <cstdio>

namespace kxlf {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The value of every decimal digit in `text`, modulo `modulus`; other characters are skipped.
uint32_t DigitsModulo(std::string_view text, uint32_t modulus) {
  uint32_t value = 0;
  for (char c : text) {
    if (IsDigit(c))
      value = (value * 10 + static_cast<uint32_t>(c - '0')) % modulus;
  }
  return value;
}

uint32_t ToNumber(const Ipv4& address) {
  return (uint32_t{address[0]} << 24) | (uint32_t{address[1]} << 16) | (uint32_t{address[2]} << 8) |
         address[3];
}

}  // namespace

std::string FormatIpv4(const Ipv4& address) {
  char text[16];
  std::snprintf(text, sizeof text, "%d.%d.%d.%d", address[0], address[1], address[2], address[3]);
  return text;
}

std::optional<Ipv4> ParseIpv4(std::string_view text) {
  Ipv4 address{};
  size_t at = 0;
  for (int part = 0; part < 4; ++part) {
    if (part > 0) {
      if (at >= text.size() || text[at] != '.')
        return std::nullopt;
      ++at;
    }
    const size_t first = at;
    int value = 0;
    while (at < text.size() && IsDigit(text[at]) && at - first < 3)
      value = value * 10 + (text[at++] - '0');
    if (at == first || value > 255)
      return std::nullopt;
    address[part] = static_cast<uint8_t>(value);
  }
  if (at != text.size())
    return std::nullopt;
  return address;
}

HostPort SplitHostPort(std::string_view text) {
  const size_t dash = text.rfind('-');
  if (dash == std::string_view::npos)
    return {std::string(text), kDefaultReaderPort};
  long port = 0;
  for (size_t i = dash + 1; i < text.size() && IsDigit(text[i]); ++i) {
    port = port * 10 + (text[i] - '0');
    if (port > 65535) {
      port = 0;
      break;
    }
  }
  return {std::string(text.substr(0, dash)), static_cast<int>(port)};
}

std::string HostOfName(std::string_view text) {
  return std::string(text.substr(0, text.rfind('-')));
}

std::optional<Ipv4> ParseLenientIpv4(std::string_view text) {
  size_t dots[3];
  size_t from = 0;
  for (size_t& dot : dots) {
    dot = text.find('.', from);
    if (dot == std::string_view::npos)
      return std::nullopt;
    from = dot + 1;
  }
  if (dots[0] == 0)
    return std::nullopt;
  return Ipv4{
      static_cast<uint8_t>(DigitsModulo(text.substr(0, dots[0]), 256)),
      static_cast<uint8_t>(DigitsModulo(text.substr(dots[0] + 1, dots[1] - dots[0] - 1), 256)),
      static_cast<uint8_t>(DigitsModulo(text.substr(dots[1] + 1, dots[2] - dots[1] - 1), 256)),
      static_cast<uint8_t>(DigitsModulo(text.substr(dots[2] + 1), 256))};
}

int HostBitCount(const Ipv4& mask) {
  const uint32_t bits = ToNumber(mask);
  int count = 0;
  while (count < 32 && (bits & (uint32_t{1} << count)) == 0)
    ++count;
  return count;
}

Ipv4 MaskFromHostBits(int hostBits) {
  if (hostBits < 0 || hostBits >= 32)
    return {};
  const uint32_t bits = ~uint32_t{0} << hostBits;
  return {static_cast<uint8_t>(bits >> 24), static_cast<uint8_t>(bits >> 16),
          static_cast<uint8_t>(bits >> 8), static_cast<uint8_t>(bits)};
}

ConfigAddress ParseConfigAddress(std::string_view text) {
  ConfigAddress result;
  std::string_view rest;
  if (text.starts_with('[')) {
    const size_t close = text.find(']');
    const std::string_view name =
        close == std::string_view::npos ? text.substr(1) : text.substr(1, close - 1);
    result.nameGiven = true;
    result.name = std::string(name.substr(0, kDhcpNameLength));
    rest = close == std::string_view::npos ? std::string_view{} : text.substr(close + 1);
  } else {
    const size_t dash = text.find('-');
    const std::string_view address = text.substr(0, dash);
    const std::optional<Ipv4> parsed = ParseLenientIpv4(address);
    if (!parsed)
      return result;  // no address at all: no port either
    result.address = *parsed;
    rest = dash == std::string_view::npos ? std::string_view{} : text.substr(dash);
  }
  const size_t dash = rest.find('-');
  if (dash != std::string_view::npos)
    result.port = static_cast<uint16_t>(DigitsModulo(rest.substr(dash + 1), 65536));
  return result;
}

}  // namespace kxlf
