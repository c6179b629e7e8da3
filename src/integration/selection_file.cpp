#include "integration/selection_file.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <system_error>

#include "base/runtime_failure.h"
#include "base/text.h"
#include "integration/settings.h"

namespace cn {
namespace {

constexpr std::int32_t kPathFileAccessError = 75;
constexpr char32_t kReplacement = 0xFFFD;

// Next code point of UTF-8 text at `pos`, advancing it; invalid bytes one by one.
char32_t NextCodePoint(std::string_view text, std::size_t& pos) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(pos);
  std::size_t length = 0;
  char32_t code = 0;
  if (lead < 0x80) {
    ++pos;
    return lead;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    code = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    code = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    code = lead & 0x07;
  } else {
    ++pos;
    return kReplacement;
  }
  if (pos + length > text.size()) {
    ++pos;
    return kReplacement;
  }
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(pos + i) & 0xC0) != 0x80) {
      ++pos;
      return kReplacement;
    }
    code = (code << 6) | (byte(pos + i) & 0x3F);
  }
  const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
  if (overlong || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
    ++pos;
    return kReplacement;
  }
  pos += length;
  return code;
}

void AppendUnit(std::string& out, std::uint16_t unit) {
  out.push_back(static_cast<char>(unit & 0xFF));
  out.push_back(static_cast<char>(unit >> 8));
}

[[noreturn]] void FileFailure(const std::filesystem::path& path, std::string_view what,
                              std::string_view routine = "WriteSelectionFile") {
  throw RuntimeFailure(kPathFileAccessError,
                       "Path/File access error: " + std::string(what) + " " + path.string(),
                       std::string(routine));
}

}  // namespace

std::filesystem::path SelectionFilePath(std::string_view installation_path) {
  const std::string windows_path = std::string(installation_path) + "\\Temp\\mySelect.txt";
  return std::filesystem::path(Replace(windows_path, "\\", "/"));
}

std::string EncodeUtf16File(std::string_view text) {
  std::string out;
  out.reserve(2 + text.size() * 2);
  AppendUnit(out, 0xFEFF);
  for (std::size_t pos = 0; pos < text.size();) {
    const char32_t code = NextCodePoint(text, pos);
    if (code < 0x10000) {
      AppendUnit(out, static_cast<std::uint16_t>(code));
    } else {
      const char32_t rest = code - 0x10000;
      AppendUnit(out, static_cast<std::uint16_t>(0xD800 + (rest >> 10)));
      AppendUnit(out, static_cast<std::uint16_t>(0xDC00 + (rest & 0x3FF)));
    }
  }
  return out;
}

std::string DecodeUtf16File(std::string_view bytes) {
  const auto unit = [&](std::size_t i) {
    return static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                 (static_cast<unsigned char>(bytes[i + 1]) << 8));
  };
  std::string out;
  out.reserve(bytes.size() / 2);
  std::size_t pos = bytes.size() >= 2 && unit(0) == 0xFEFF ? 2 : 0;
  for (; pos + 1 < bytes.size(); pos += 2) {
    const char16_t first = unit(pos);
    if (first >= 0xD800 && first <= 0xDBFF && pos + 3 < bytes.size()) {
      const char16_t second = unit(pos + 2);
      if (second >= 0xDC00 && second <= 0xDFFF) {
        out += Utf8(0x10000 + ((static_cast<char32_t>(first) - 0xD800) << 10) + (second - 0xDC00));
        pos += 2;
        continue;
      }
    }
    out += Utf8(first >= 0xD800 && first <= 0xDFFF ? kReplacement : static_cast<char32_t>(first));
  }
  if (pos < bytes.size()) out += Utf8(kReplacement);
  return out;
}

std::string ReadSelectionFile(std::string_view installation_path) {
  const std::filesystem::path path = SelectionFilePath(installation_path);
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return {};
  std::ifstream file(path, std::ios::binary);
  if (!file) FileFailure(path, "cannot open", "ReadSelectionFile");
  std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (file.bad()) FileFailure(path, "cannot read", "ReadSelectionFile");
  return DecodeUtf16File(bytes);
}

void WriteSelectionFile(const Components& components, std::string_view text) {
  const std::string installation_path = ReadInstallationPath(components);
  if (Trim(installation_path).empty()) {
    throw RuntimeFailure(kPathFileAccessError,
                         "Path/File access error: the \"Installation Path\" setting is empty",
                         "WriteSelectionFile");
  }
  const std::filesystem::path path = SelectionFilePath(installation_path);
  std::error_code error;
  std::filesystem::create_directory(path.parent_path(), error);
  if (error) FileFailure(path.parent_path(), "cannot create folder");

  const std::string bytes = EncodeUtf16File(text);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) FileFailure(path, "cannot open");
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  file.close();
  if (!file) FileFailure(path, "cannot write");
}

}  // namespace cn
