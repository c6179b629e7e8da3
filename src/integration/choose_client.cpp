#include "integration/choose_client.h"

#include <array>
#include <cstddef>
#include <memory>
#include <vector>

#include "base/runtime_failure.h"
#include "base/separators.h"
#include "base/text.h"
#include "integration/list_search.h"
#include "integration/reporting.h"

namespace cn {
namespace {

// Which fields of a client record the dialog shows, in its column order.
struct DisplayField {
  std::size_t field;
  bool trimmed;
};
constexpr std::array<DisplayField, 9> kClientDisplayFields = {{
    {0, false},
    {1, false},
    {2, false},
    {3, false},
    {4, false},
    {9, true},
    {10, false},
    {11, false},
    {12, false},
}};

constexpr std::string_view kDialogFeatures =
    "status=no; dialogwidth=700px; dialogheight=300px; help: no; resizable: no; center: yes';";

std::string DisplayEntry(const std::string& record) {
  const std::vector<std::string> fields = SplitFields(record);
  std::vector<std::string> shown;
  for (const DisplayField& column : kClientDisplayFields) {
    const std::string value = FieldAt(fields, column.field);
    shown.push_back(column.trimmed ? Trim(value) : value);
  }
  return Join(shown, FieldSeparator);
}

}  // namespace

std::string ChooseClient(dom::Document& document, const UserIdentity& identity,
                         std::string& client_records) {
  const std::vector<std::string> records = SplitList(client_records);
  std::vector<std::string> display;
  display.reserve(records.size());
  for (const std::string& record : records) display.push_back(DisplayEntry(record));
  client_records = Join(display, RecordSeparator);

  const std::shared_ptr<dom::Window> window = document.ParentWindow();
  if (!window) {
    throw RuntimeFailure(failure::kObjectRequired, "Object required: the page has no window",
                         "ChooseClient");
  }
  const std::string argument = "Client Enquiry" + std::string(DialogArgSeparator) +
                               identity.CurrentAgentCode + std::string(DialogArgSeparator) +
                               identity.CurrentUserId + std::string(DialogArgSeparator) +
                               client_records;
  const std::string chosen = window->ShowModalDialog("dlgEnq.htm", argument, kDialogFeatures);
  if (chosen.empty()) return {};

  const std::string code = Trim(chosen);
  for (const std::string& record : records) {
    if (FieldAt(SplitFields(record), 0) == code) return record;
  }
  ShowRuntimeError(*window, RuntimeFailure(failure::kSubscriptOutOfRange,
                                           "Subscript out of range: client \"" + code +
                                               "\" is not among the matching clients",
                                           "ChooseClient"));
  return {};
}

}  // namespace cn
