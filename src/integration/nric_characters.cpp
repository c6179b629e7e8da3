#include "integration/nric_characters.h"

#include <string>
#include <vector>

#include "base/text.h"
#include "integration/system_codes.h"

namespace cn {

bool CheckNRICCharacters(LookupState& state, const Components& components, dom::Window& window,
                         std::string_view number) {
  std::vector<std::string> invalid = Split(GetSystemCode(state, components, 1060), ";");
  // ";" separates the list itself, so the setting writes it as ",".
  for (std::string& character : invalid) {
    if (character == ",") character = ";";
  }
  std::vector<std::string> found;
  const std::size_t length = Len(number);
  for (std::size_t i = 1; i <= length; ++i) {
    const std::string character = Mid(number, i, 1);
    for (const std::string& bad : invalid) {
      if (character == bad) found.push_back(character);
    }
  }
  if (found.empty()) return false;
  window.MessageBox(Join(found, ", ") + " character(s) invalid for NRIC",
                    dom::message_box::kExclamation, "Invalid Data");
  return true;
}

}  // namespace cn
