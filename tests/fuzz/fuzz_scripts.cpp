// The two scripts the screen reads: the shell's statements and the row tables' command
// attributes. Anything but their one form is a RuntimeFailure.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/runtime_failure.h"
#include "dom/attribute_script.h"
#include "shell/script_statement.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    (void)cn::shell::ParseScriptStatement(text);
  } catch (const cn::RuntimeFailure&) {
  }
  try {
    (void)cn::dom::ParseCommandScript(text);
  } catch (const cn::RuntimeFailure&) {
  }
  return 0;
}
