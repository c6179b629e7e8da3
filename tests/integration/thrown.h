#pragma once
// The failure a call throws, for the tests that read its number and words.

#include <gtest/gtest.h>

#include "base/runtime_failure.h"

namespace cn::testing {

// What `call` threw; a failed test and an empty failure when it threw nothing.
template <typename Call>
RuntimeFailure Thrown(Call call) {
  try {
    call();
  } catch (const RuntimeFailure& failure) {
    return failure;
  }
  ADD_FAILURE() << "no failure was thrown";
  return {0, "", ""};
}

}  // namespace cn::testing
