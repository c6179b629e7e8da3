#include "integration/reporting.h"

#include <exception>

namespace cn {
namespace {

RuntimeFailure AsRuntimeFailure(const std::exception& e) {
  return RuntimeFailure(failure::kInternalError, e.what(), "covernote");
}

template <typename Reporter>
bool RunReporting(Reporter& reporter, const std::function<void()>& body) {
  try {
    body();
    return true;
  } catch (const RuntimeFailure& failure) {
    ShowRuntimeError(reporter, failure);
  } catch (const std::exception& e) {
    ShowRuntimeError(reporter, AsRuntimeFailure(e));
  }
  return false;
}

constexpr int kRuntimeErrorBox = dom::message_box::kExclamation + dom::message_box::kOkOnly;

std::string Shown(const RuntimeFailure& failure) {
  return failure.number() == failure::kDatabaseUnavailable ? failure.description() : failure.Text();
}

}  // namespace

void ShowRuntimeError(dom::DialogHost& dialogs, const RuntimeFailure& failure) {
  dialogs.MessageBox(Shown(failure), kRuntimeErrorBox, "");
}

void ShowRuntimeError(dom::Window& window, const RuntimeFailure& failure) {
  window.MessageBox(Shown(failure), kRuntimeErrorBox, "");
}

std::int32_t ShowNumberedMessage(const Components& components, std::int32_t number,
                                 std::string_view title, const MessageParameters& parameters) {
  return components.NewMessageService()->ShowMessage(number, title, parameters[0], parameters[1],
                                                     parameters[2], parameters[3], parameters[4]);
}

std::int32_t ShowMessageByNumber(const Components& components, std::int32_t number,
                                 std::string_view parameter, std::string_view title) {
  return ShowNumberedMessage(components, number, title, {parameter, "", "", "", ""});
}

bool ReportFailures(dom::DialogHost& dialogs, const std::function<void()>& body) {
  return RunReporting(dialogs, body);
}

bool ReportFailures(dom::Window& window, const std::function<void()>& body) {
  return RunReporting(window, body);
}

bool IgnoreFailures(const std::function<void()>& body) {
  try {
    body();
    return true;
  } catch (const std::exception&) {
    // The handler's business rule is to end quietly; nothing is shown.
  }
  return false;
}

}  // namespace cn
