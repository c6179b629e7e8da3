#pragma once
// Text helpers that count characters, not bytes. Text is UTF-8 throughout; a
// client's name with an accented letter must be as long as it looks.
// Positions are 1-based where the screen's rules count that way (Mid, InStr).

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace cn {

// Number of characters (code points). Invalid bytes count one each.
std::size_t Len(std::string_view text);

// First / last n characters; the whole text when it is shorter.
std::string Left(std::string_view text, std::size_t n);
std::string Right(std::string_view text, std::size_t n);

// Characters from 1-based position `start`; all the rest when `count` is npos.
// A start past the end gives "". A start of 0 is treated as 1.
std::string Mid(std::string_view text, std::size_t start,
                std::size_t count = std::string_view::npos);

// 1-based character position of `find` in `text` at or after `start`; 0 when absent.
std::size_t InStr(std::string_view text, std::string_view find, std::size_t start = 1);

// Spaces only, as the screen's rules trim.
std::string Trim(std::string_view text);
std::string LTrim(std::string_view text);
std::string RTrim(std::string_view text);

// Upper and lower case of ASCII and Latin-1 letters; other characters unchanged.
std::string UCase(std::string_view text);
std::string LCase(std::string_view text);

// Every occurrence of `find` (non-empty) replaced, left to right, without rescanning.
std::string Replace(std::string_view text, std::string_view find, std::string_view with);

// Split at every occurrence of a non-empty separator. An empty text gives no
// elements at all (a list with nothing in it), "a" gives {"a"}, "a;" gives {"a", ""}.
std::vector<std::string> Split(std::string_view text, std::string_view separator);

std::string Join(const std::vector<std::string>& parts, std::string_view separator);

// ASCII case-insensitive equality, for names of properties, tags and attributes.
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

bool StartsWith(std::string_view text, std::string_view prefix);
bool EndsWith(std::string_view text, std::string_view suffix);

// UTF-8 encoding of one code point.
std::string Utf8(char32_t code_point);

}  // namespace cn
