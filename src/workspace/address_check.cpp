#include "workspace/address_check.h"

#include <array>
#include <string>

namespace cn {
namespace {

constexpr std::size_t kPrintedLines = 4;
constexpr std::size_t kLongestLine = 25;
constexpr std::size_t kShortestFirstLine = 2;

// The first four lines, split at line feeds, without their carriage returns.
std::array<std::string, kPrintedLines> PrintedLines(std::string_view address) {
  std::array<std::string, kPrintedLines> lines;
  std::size_t line = 0;
  for (const char c : address) {
    if (c == '\n') {
      if (++line == kPrintedLines) break;
    } else if (c != '\r') {
      lines[line] += c;
    }
  }
  return lines;
}

// Characters as the administrator counts them, not bytes.
std::size_t Characters(std::string_view text) {
  std::size_t count = 0;
  for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return count;
}

}  // namespace

std::optional<std::string_view> AddressProblem(std::string_view address) {
  const auto lines = PrintedLines(address);
  for (const std::string& line : lines) {
    if (Characters(line) > kLongestLine) {
      return "Each address field must not be more than 25 characters long!";
    }
  }
  if (Characters(lines[0]) < kShortestFirstLine) {
    return "Invalid address! Address must be at least 2 characters.";
  }
  // Lines 0 to 3; the first is checked above.
  const bool gap = (!lines[3].empty() && (lines[2].empty() || lines[1].empty())) ||
                   (!lines[2].empty() && lines[1].empty());
  if (gap) return "Invalid address! You cannot skip and address line.";
  return std::nullopt;
}

}  // namespace cn
