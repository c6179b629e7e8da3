#pragma once
// Back-end replies written readably in tests: fields, records and code lists joined by the
// separators the screen splits them at, and the separators shown again as plain marks.

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace cn::testing {

using Journal = std::vector<std::string>;

// Fields joined by U+FFFE, records by U+FFFF.
std::string Fields(std::initializer_list<std::string_view> fields);
std::string Records(std::initializer_list<std::string_view> records);
// One "code|text" entry of a list reply.
std::string Entry(std::string_view code, std::string_view text);
// {code, value} pairs as the back end lists them (system codes, lookup lists).
std::string CodeList(std::initializer_list<std::pair<std::string_view, std::string_view>> codes);

// Separators shown as "^" (parameters), "|" (fields), "~" (records) and "#" (dialog
// arguments), so that journal lines read as plain text.
std::string Readable(std::string_view text);

}  // namespace cn::testing
