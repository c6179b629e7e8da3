// Page HTML through the document model: a whole page, and the same text as the inner HTML of
// the elements the pages write into.
#include "dom/document.h"
#include "dom/html_parse.h"
#include "refusal.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view html = cn::fuzzing::Text(data, size);
  cn::fuzzing::MayRefuse([&] {
    const auto page = cn::dom::Document::Parse(html);
    (void)page->Copy();
    for (const char* context : {"TD", "SELECT", "DIV", "TBODY"})
      (void)cn::dom::ParseFragment(*page, html, context);
  });
  return 0;
}
