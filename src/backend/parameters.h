#pragma once
// Reading a command's parameter text: values joined by U+FFFB.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cn::backend {

// Longest single value a command accepts (numbers, codes, names).
inline constexpr std::size_t kMaxParameterCharacters = 100;

// Exactly `count` values, each short and free of the other separators; nullopt
// otherwise. The last value may be long when `record_last` is set (a record of
// fields joined by U+FFFE, checked by its own layout).
std::optional<std::vector<std::string>> SplitParameters(std::string_view text,
                                                        std::size_t count,
                                                        bool record_last = false);

// A parameter that must be a whole number in [low, high].
std::optional<int> WholeNumber(std::string_view text, int low, int high);

}  // namespace cn::backend
