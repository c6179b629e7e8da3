#pragma once
// The harnesses' one rule: a reader of outside text refuses bad input with its own failure and
// nothing else; anything else escaping (or a crash) is what the fuzzer reports.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/runtime_failure.h"

namespace cn::fuzzing {

inline std::string_view Text(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

template <typename Failure = RuntimeFailure, typename Read>
void MayRefuse(Read&& read) {
  try {
    read();
  } catch (const Failure&) {
  }
}

}  // namespace cn::fuzzing
