// Back-end replies as the screen reads them: split into positions and filled into the cover
// note record by each reply layout. A position that does not convert is a RuntimeFailure
// (type mismatch), as the screen reports it.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/runtime_failure.h"
#include "workspace/cover_note_record.h"
#include "workspace/record_fill.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view reply(reinterpret_cast<const char*>(data), size);
  const auto fields = cn::SplitReplyFields(reply);
  const auto fill = [](auto&& step) {
    cn::CoverNoteRecord record;
    try {
      step(record);
    } catch (const cn::RuntimeFailure&) {
    }
  };
  fill([&](cn::CoverNoteRecord& record) { cn::FillFromReadAdminReply(record, fields, {}); });
  fill([&](cn::CoverNoteRecord& record) {
    cn::FillPreviousFromReply(record, cn::PreviousDocument::kCoverNote, fields);
  });
  fill([&](cn::CoverNoteRecord& record) {
    cn::FillPreviousFromReply(record, cn::PreviousDocument::kPolicy,
                              cn::SplitPolicyReplyFields(reply));
  });
  return 0;
}
