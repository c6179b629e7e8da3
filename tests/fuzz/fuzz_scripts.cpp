// The two scripts the screen reads: the shell's statements and the row tables' command
// attributes. Anything but their one form is a RuntimeFailure.
#include "base/runtime_failure.h"
#include "dom/attribute_script.h"
#include "refusal.h"
#include "shell/script_statement.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = cn::fuzzing::Text(data, size);
  cn::fuzzing::MayRefuse([&] { (void)cn::shell::ParseScriptStatement(text); });
  cn::fuzzing::MayRefuse([&] { (void)cn::dom::ParseCommandScript(text); });
  return 0;
}
