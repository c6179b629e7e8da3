#pragma once
// A test page whose logic is one function run as it loads; its handlers are bound as it is made.

#include <functional>
#include <utility>

#include "dom/page_logic.h"

namespace cn::testing {

class FunctionPage final : public dom::PageLogic {
 public:
  explicit FunctionPage(std::function<void()> load) : load_(std::move(load)) {}
  void Load() override { load_(); }
  void Unload() override {}

 private:
  std::function<void()> load_;
};

}  // namespace cn::testing
