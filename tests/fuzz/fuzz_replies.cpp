// Back-end replies as the screen reads them: split into positions and filled into the cover
// note record by each reply layout.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "workspace/cover_note_record.h"
#include "workspace/record_fill.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view reply(reinterpret_cast<const char*>(data), size);
  const auto fields = cn::SplitReplyFields(reply);
  cn::CoverNoteRecord record;
  cn::FillFromReadAdminReply(record, fields, {});
  cn::FillPreviousFromReply(record, cn::PreviousDocument::kCoverNote, fields);
  cn::FillPreviousFromReply(record, cn::PreviousDocument::kPolicy,
                            cn::SplitPolicyReplyFields(reply));
  return 0;
}
