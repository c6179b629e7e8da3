#include "integration/postcode.h"

#include <vector>

#include "base/text.h"
#include "integration/list_search.h"
#include "integration/service_gateway.h"

namespace cn {
namespace {

constexpr std::string_view kInvalidDataTitle = "Invalid Data";

}  // namespace

bool ValidatePostcode(const Components& components, dom::Window& window,
                      std::string_view postcode, std::string& town, std::string& state) {
  if (postcode.empty()) return true;

  std::string checked(postcode);
  const InputCheckAnswer answer =
      components.SharedInputCheckService().CheckPostcodeText(checked);
  if (!answer.flag) {
    window.MessageBox(answer.message, dom::message_box::kExclamation, kInvalidDataTitle);
    return false;
  }
  const std::string trimmed = Trim(postcode);
  if (Len(trimmed) != 5 || trimmed == "00000") {
    window.MessageBox("Invalid postcode", dom::message_box::kExclamation, kInvalidDataTitle);
    return false;
  }

  const std::string reply =
      ServiceGateway(components)
          .ExecuteCommand("KivoInsurance.Find.FindPostCodeDetails", postcode)
          .reply;
  if (!reply.empty()) {
    const std::vector<std::string> fields = SplitFields(reply);
    town = FieldAt(fields, 0);
    state = FieldAt(fields, 1);
  }
  return true;
}

}  // namespace cn
