#include "base/runtime_failure.h"

namespace cn {

namespace {
std::string Compose(std::int32_t number, std::string_view description, std::string_view source) {
  std::string text = std::to_string(number);
  text += ": ";
  text += description;
  text += " [";
  text += source;
  text += "]";
  return text;
}
}  // namespace

RuntimeFailure::RuntimeFailure(std::int32_t number, std::string description, std::string source)
    : std::runtime_error(Compose(number, description, source)),
      number_(number),
      description_(std::move(description)),
      source_(std::move(source)) {}

std::string RuntimeFailure::Text() const { return what(); }

}  // namespace cn
