#pragma once
// How the screen reports: the one message box for an unexpected failure, numbered
// messages through the message component, and the two wrappers a page handler puts
// around its body (report the failure, or stop silently).

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "base/runtime_failure.h"
#include "dom/window.h"
#include "integration/components.h"

namespace cn {

// Failure number given to an unexpected error that is not a RuntimeFailure.
namespace failure {
inline constexpr std::int32_t kInternalError = 51;
}  // namespace failure

// Message box "number: description [source]", exclamation icon, OK button, the
// application's default title (an empty title). A database that is not available is told in
// its own words alone: the administrator can do nothing with its number.
void ShowRuntimeError(dom::DialogHost& dialogs, const RuntimeFailure& failure);
void ShowRuntimeError(dom::Window& window, const RuntimeFailure& failure);

// The five parameter texts of a numbered message; unused ones stay empty.
using MessageParameters = std::array<std::string_view, 5>;

// Shows a numbered message through a fresh message component; returns the answer.
std::int32_t ShowNumberedMessage(const Components& components, std::int32_t number,
                                 std::string_view title, const MessageParameters& parameters);

// The same with `parameter` as the first parameter and four empty ones.
std::int32_t ShowMessageByNumber(const Components& components, std::int32_t number,
                                 std::string_view parameter, std::string_view title);

// Runs a handler body; a failure ends it and is shown with ShowRuntimeError.
// Returns true when the body ran to its end. Any other std::exception is reported
// the same way as an internal error.
bool ReportFailures(dom::DialogHost& dialogs, const std::function<void()>& body);
bool ReportFailures(dom::Window& window, const std::function<void()>& body);

// Runs a handler body that stops silently on a failure; returns true when it ran
// to its end.
bool IgnoreFailures(const std::function<void()>& body);

}  // namespace cn
