#pragma once
// What a step raises, as "number: description", or "no failure" when it goes through: one
// comparison pins both what a caller catches and what a person would be told.

#include <string>

#include "base/runtime_failure.h"

namespace cn {

template <typename Step>
std::string FailureText(Step&& step) {
  try {
    step();
  } catch (const RuntimeFailure& failure) {
    return std::to_string(failure.number()) + ": " + failure.description();
  }
  return "no failure";
}

}  // namespace cn
