#pragma once
// The one shape of an unexpected failure: a number, what went wrong and where.
// Every failed document or component call throws it; the page handlers report it.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace cn {

// Failure numbers the product raises itself (components may raise others).
namespace failure {
inline constexpr std::int32_t kTypeMismatch = 13;
inline constexpr std::int32_t kInvalidArgument = 5;
inline constexpr std::int32_t kObjectRequired = 424;
inline constexpr std::int32_t kSubscriptOutOfRange = 9;
inline constexpr std::int32_t kOverflow = 6;
inline constexpr std::int32_t kNotImplemented = 445;
}  // namespace failure

class RuntimeFailure : public std::runtime_error {
 public:
  RuntimeFailure(std::int32_t number, std::string description, std::string source);

  std::int32_t number() const noexcept { return number_; }
  const std::string& description() const noexcept { return description_; }
  const std::string& source() const noexcept { return source_; }

  // number, ": ", description, " [", source, "]"
  std::string Text() const;

 private:
  std::int32_t number_;
  std::string description_;
  std::string source_;
};

}  // namespace cn
