// Page HTML through the document model: a whole page, and the same text as the inner HTML of
// the elements the pages write into.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/runtime_failure.h"
#include "dom/document.h"
#include "dom/html_parse.h"
#include "dom/serialize.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view html(reinterpret_cast<const char*>(data), size);
  try {
    const auto page = cn::dom::Document::Parse(html);
    (void)page->Copy();
    for (const char* context : {"TD", "SELECT", "DIV", "TBODY"}) {
      (void)cn::dom::ParseFragment(*page, html, context);
    }
  } catch (const cn::RuntimeFailure&) {
  }
  return 0;
}
